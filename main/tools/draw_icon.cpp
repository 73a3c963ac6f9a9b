// Writes the client's icon, as the program draws it, to a PNG file:
// vesk_draw_icon <output.png> [size]. The desktop entry's icon comes from it.
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "forms/artwork.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vesk_draw_icon <output.png> [size]\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  const int size = argc > 2 ? std::atoi(argv[2]) : 256;
  return artwork::ApplicationIcon(size).save(argv[1]) ? 0 : 1;
}
