#include "sources/table/text_layouts.h"

#include <iterator>

#include "sources/structured/json_layout.h"
#include "sources/structured/xml_layout.h"

namespace venbrook {

// Each layout's row goes here, in the order it must be asked.
const TextLayoutRow kTextLayouts[] = {
    // Narrow: the first bytes must open and continue a JSON value, or XML.
    {"JSON: arrays of objects, objects holding them, JSON Lines", ClaimsJson, MakeJsonLayout},
    {"XML: an element repeated per host", ClaimsXml, MakeXmlLayout},
};
const std::size_t kTextLayoutCount = std::size(kTextLayouts);

}  // namespace venbrook
