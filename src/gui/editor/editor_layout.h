#pragma once
// The editor's layout in twips (1/1440 inch), for all its pages: where the
// boxes, buttons and grids stand and how wide their columns are.

namespace tarn::gui::editor_layout {

// The window and its tab strip.
inline constexpr int kTabMarginTwips = 120;
inline constexpr int kInitialHeightTwips = 7200;
// Formula pictures in the grids: the size factor of the formula text and its
// baseline, so that subscripts fit in a 255-twip row.
inline constexpr double kFormulaSize = 0.85;
inline constexpr int kFormulaBaseline = 12;

// The model and solids pages.
inline constexpr int kMarginTwips = 120;
inline constexpr int kTitleTopTwips = 120;
inline constexpr int kButtonsTopTwips = 540;
inline constexpr int kBetaGridTopTwips = 960;
inline constexpr int kLogColTwips = 900;
inline constexpr int kKeyColTwips = 600;
inline constexpr int kMinFormulaPixels = 50;

// The conditions page.
inline constexpr int kPanelsTopTwips = 360;
inline constexpr int kTitrationGridTopTwips = 1200;
inline constexpr int kDistributionGridTopTwips = 540;
inline constexpr int kHeaderRowTwips = 510;
inline constexpr int kReagentColTwips = 750;
inline constexpr int kValueColTwips = 1080;
inline constexpr int kPxColTwips = 510;
// The conditions take at most this share of the page; the ionic-strength
// frame has the rest.
inline constexpr int kConditionsSharePercent = 55;

// The ionic-strength frame.
inline constexpr int kFirstColTwips = 600;
inline constexpr int kStrengthColTwips = 1200;
inline constexpr int kBoxWidth = 44;
inline constexpr int kChargeBoxWidth = 30;  // a charge or an ion size
inline constexpr int kMaxChargesHeight = 120;
// The ionic-strength grid shows six rows at least; a short frame scrolls.
inline constexpr int kStrengthGridMinTwips = 1800;

}  // namespace tarn::gui::editor_layout
