// Entry of every Windows test program. The test keeps a tray icon of its own
// for its whole run, so that Vornik's exits are not slowed by Wine.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>

#include "own_tray_icon.h"

int main(int argc, char** argv) {
  test::OwnTrayIcon trayIcon("vornik tests");
  doctest::Context context(argc, argv);
  return context.run();
}
