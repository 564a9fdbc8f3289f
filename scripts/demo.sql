-- Demo database for scripts/run.sh: the machine list of a small internet
-- café's diskless boot server. Texts are UTF-8, as SQLite stores them.

CREATE TABLE IF NOT EXISTS tPcBaseInfo (
  MACHINE TEXT,
  mac     TEXT,
  ip      TEXT,
  area    TEXT,
  note    TEXT
);

BEGIN;
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC006', '00-1A-2B-3C-40-70', '192.168.1.106', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('包间02', '001A2B3C47FA', '192.168.1.172', '包间', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC013', '00-1A-2B-3C-41-85', '192.168.1.113', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC020', '001A2B3C429A', '192.168.1.120', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC016', '00-1A-2B-3C-42-8E', '192.168.1.116', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC011', '00-1A-2B-3C-41-7F', '192.168.1.111', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('VIP-01', '00-1A-2B-3C-45-D9', '192.168.1.151', 'VIP区', '高配');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC022', '00-1A-2B-3C-43-A0', '192.168.1.122', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC009', '00-1a-2b-3c-41-79', '192.168.1.109', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC012', '00-1A-2B-3C-41-82', '192.168.1.112', '大厅', '');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('pc031', '00-1a-2b-3c-4f-90', '192.168.1.131', '大厅', '机器名小写, 待改');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC001', '00-1A-2B-3C-40-61', '192.168.1.101', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC029', '00-1A-2B-3C-44-B5', '192.168.1.129', '大厅', '新装 2024-03');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC015', '00:1a:2b:3c:42:8b', '192.168.1.115', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('收银台', '00-1A-2B-3C-4D-01', '192.168.1.2', '前台', '收银机, 不走无盘');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC019', '00-1A-2B-3C-42-97', '192.168.1.119', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC023', '00-1A-2B-3C-43-A3', '192.168.1.123', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('VIP-02', '00-1A-2B-3C-46-DC', '192.168.1.152', 'VIP区', '高配');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC028', '00-1A-2B-3C-44-B2', '192.168.1.128', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC025', '00:1a:2b:3c:43:a9', '192.168.1.125', '大厅', '键盘待换');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC018', '00-1A-2B-3C-42-94', '192.168.1.118', '大厅', '靠窗');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('VIP-03', '00:1a:2b:3c:46:df', '192.168.1.153', 'VIP区', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC008', '00-1A-2B-3C-41-76', '192.168.1.108', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC027', '00-1A-2B-3C-43-AF', '192.168.1.127', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('包间04', '00-1A-2B-3C-47-00', '192.168.1.174', '包间', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC014', '00-1A-2B-3C-42-88', '192.168.1.114', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC003', '00-1A-2B-3C-40-67', '192.168.1.103', '大厅', '显卡 GTX1660');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC002', '00-1A-2B-3C-40-64', '192.168.1.102', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('VIP-04', '00-1A-2B-3C-46-E2', '192.168.1.154', 'VIP区', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC017', '00-1A-2B-3C-42-91', '192.168.1.117', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC030', '001A2B3C44B8', '192.168.1.130', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('包间03', '00-1A-2B-3C-47-FD', '192.168.1.173', '包间', '双人包间');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC024', '00-1A-2B-3C-43-A6', '192.168.1.124', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC007', '00-1A-2B-3C-41-73', '192.168.1.107', '大厅', '换过主板');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('包间01', '00-1A-2B-3C-47-F7', '192.168.1.171', '包间', '双人包间');
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC005', '00:1a:2b:3c:40:6d', '192.168.1.105', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC004', '00-1A-2B-3C-40-6A', '192.168.1.104', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC026', '00-1A-2B-3C-43-AC', '192.168.1.126', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC010', '001A2B3C417C', '192.168.1.110', '大厅', NULL);
INSERT INTO tPcBaseInfo (MACHINE, mac, ip, area, note) VALUES ('PC021', '00-1a-2b-3c-43-9d', '192.168.1.121', '大厅', NULL);
COMMIT;
