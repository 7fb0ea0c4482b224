#include "Builder.h"

namespace content {

void buildCharacters(Output& out) {}

}  // namespace content
