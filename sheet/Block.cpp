#include "Block.h"

#include "SheetError.h"

namespace sheet {

void RequireOneArea(const Block& block) {
    if (block.areas.size() > 1) {
        throw SheetError("The block is made of " + std::to_string(block.areas.size()) +
                         " separate areas. Duplicate rows are found in one rectangular block: "
                         "mark a single block of cells.");
    }
}

} // namespace sheet
