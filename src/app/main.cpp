// Entry point of the program.
#include "app/Application.h"
#include "host/System.h"
#include "scene/RootPageHooks.h"

int main() {
  return app::runApplication(host::commandLine(), scene::rootPageHooks());
}
