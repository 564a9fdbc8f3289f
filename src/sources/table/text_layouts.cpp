#include "sources/table/text_layouts.h"

#include <iterator>

#include "sources/aligned/aligned_layout.h"
#include "sources/aligned/ip_neighbours.h"

namespace venbrook {

// Each layout's row goes here, in the order it must be asked.
const TextLayoutRow kTextLayouts[] = {
    {"ip neigh's neighbours, a line each", ClaimsIpNeighbours, MakeIpNeighboursLayout},
    {"tables laid out with blanks", ClaimsAlignedTable, MakeAlignedLayout},
};
const std::size_t kTextLayoutCount = std::size(kTextLayouts);

}  // namespace venbrook
