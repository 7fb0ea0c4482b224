#include "Builder.h"

namespace content {

void buildFlyers(Output& out) {}

}  // namespace content
