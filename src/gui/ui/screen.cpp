#include "gui/ui/screen.h"

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <cmath>

namespace tarn::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;

double LogicalDpi(bool horizontal) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return kFallbackDpi;
  double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
  return dpi > 0 ? dpi : kFallbackDpi;
}

int Round(double x) {
  return static_cast<int>(std::nearbyint(x));
}

}  // namespace

double TwipsPerPixelX() {
  return kTwipsPerInch / LogicalDpi(true);
}
double TwipsPerPixelY() {
  return kTwipsPerInch / LogicalDpi(false);
}

int TwipsToPixelsX(int twips) {
  return Round(twips / TwipsPerPixelX());
}
int TwipsToPixelsY(int twips) {
  return Round(twips / TwipsPerPixelY());
}
int PixelsToTwipsX(int pixels) {
  return Round(pixels * TwipsPerPixelX());
}
int PixelsToTwipsY(int pixels) {
  return Round(pixels * TwipsPerPixelY());
}

void ApplyProgramFont() {
  constexpr int kProgramPointSize = 8;
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(kProgramPointSize);
  QApplication::setFont(font);
}

}  // namespace tarn::gui
