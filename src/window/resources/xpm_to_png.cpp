// Build tool: converts the window icon's XPM images to the PNG files desktops look for.
//   xpm_to_png INPUT.xpm OUTPUT.png

#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xpm_to_png INPUT.xpm OUTPUT.png\n");
    return 2;
  }
  QImage image(QString::fromLocal8Bit(argv[1]));
  if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "xpm_to_png: cannot convert %s to %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
