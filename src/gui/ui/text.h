#pragma once
// Conversions between the core's texts (std::string, UTF-8) and Qt's QString.
// The program's texts end lines with a carriage return alone (CR); ToDisplay
// turns every CR, CR LF or LF into the line break Qt widgets show.

#include <QString>
#include <string>

namespace tarn::gui {

inline QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string FromQ(const QString& text) {
  return text.toStdString();
}

// A program text as a widget shows it: CR LF and CR become "\n".
inline QString ToDisplay(const std::string& text) {
  QString shown = ToQ(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar(u'\r'), QChar(u'\n'));
  return shown;
}

}  // namespace tarn::gui
