// Entry point of the program.
#include "app/Application.h"
#include "host/System.h"

int main() {
  return app::runApplication(host::commandLine(), app::PageHooks{});
}
