#include "Builder.h"

namespace content {

void buildManual(Output& out) {}

}  // namespace content
