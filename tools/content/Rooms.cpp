#include "Builder.h"

namespace content {

void buildRooms(Output& out) {}

}  // namespace content
