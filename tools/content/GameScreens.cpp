#include "Builder.h"

namespace content {

void buildGameScreens(Output& out) {}

}  // namespace content
