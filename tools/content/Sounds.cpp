#include "Builder.h"

namespace content {

void buildSounds(Output& out) {}

}  // namespace content
