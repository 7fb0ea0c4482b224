#include "Builder.h"

namespace content {

void buildChopper(Output& out) {}

}  // namespace content
