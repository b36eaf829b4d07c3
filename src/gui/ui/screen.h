#pragma once
// Screen measures. Window and grid geometry is given in twips (1/1440 inch);
// these convert it at the screen's logical DPI (15 twips a pixel at 96 DPI).
// Pixel values round to the nearest integer, halves to the even neighbour.
//
//   grid->move(TwipsToPixelsX(120), TwipsToPixelsY(1200));
//   int widthTwips = PixelsToTwipsX(widget->width());

namespace tarn::gui {

// Twips per pixel of the primary screen (1440 / logical DPI; 15 without a screen).
double TwipsPerPixelX();
double TwipsPerPixelY();

int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// Sets the application's font to Arial (Liberation Sans where Arial is not
// installed) at 8 points: the font the windows' twips layout is made for (a
// 255-twip row holds one line of it, a 1100-twip column a number such as
// 9.8675E-02, a 1080-twip heading the word "concentration"). The desktop
// program's main and the GUI test main call it before any window is made.
void ApplyProgramFont();

}  // namespace tarn::gui
