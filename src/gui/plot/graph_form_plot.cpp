// The speciation plot window's plot box: the drawing, the limit markers, the
// read-out under the pointer, the clicks beside and inside the plot, and the
// floating species labels.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QResizeEvent>

#include "gui/plot/graph_form.h"
#include "gui/plot/painter_surface.h"
#include "gui/plot/plot_widgets.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/model/number_text.h"

namespace tarn::gui {

namespace {

constexpr int kBoxMarginTwips = 60;
constexpr int kDownMarkerBelowPlot = 24;
constexpr int kReadoutHeight = 16;

}  // namespace

void GraphForm::MakePlotBox() {
  displayBox_ = new PlotBox(this);
  displayBox_->onMouseDown = [this](QPoint at, Qt::MouseButton) { DisplayBox_MouseDown(at); };
  displayBox_->onMouseMove = [this](QPoint at) { DisplayBox_MouseMove(at); };
  up_ = new ClickLabel(displayBox_);
  up_->setObjectName(QStringLiteral("Up"));
  down_ = new ClickLabel(displayBox_);
  down_->setObjectName(QStringLiteral("down"));
  up_->setPixmap(MarkerPicture(true));
  down_->setPixmap(MarkerPicture(false));
  for (ClickLabel* marker : {up_, down_}) {
    marker->setFixedSize(16, 16);
    marker->setCursor(Qt::PointingHandCursor);
    marker->hide();
  }
  up_->setToolTip(QStringLiteral("top limit back to its default"));
  down_->setToolTip(QStringLiteral("bottom limit back to its default"));
  up_->move(0, 0);
  up_->onClick = [this] { Up_MouseUp(); };
  down_->onClick = [this] { down_MouseUp(); };
  cursorPos_ = new QLabel(displayBox_);
  cursorPos_->setObjectName(QStringLiteral("CursorPos"));
  cursorPos_->setAttribute(Qt::WA_TransparentForMouseEvents);
  cursorPos_->hide();
}

// The box's greatest size fills the window below and right of its corner;
// the aspect ratio then shortens one side.
void GraphForm::FitPlotBox(bool aspectChanged) {
  int greatestWidth = PixelsToTwipsX(width()) - PixelsToTwipsX(displayBox_->x()) - kBoxMarginTwips;
  int greatestHeight = PixelsToTwipsY(height()) - PixelsToTwipsY(displayBox_->y()) - kBoxMarginTwips;
  BoxSize box = aspectChanged ? FitBoxOnAspect(greatestWidth, greatestHeight, aspect_)
                              : FitBoxOnResize(greatestWidth, greatestHeight, aspect_);
  displayBox_->resize(std::max(1, TwipsToPixelsX(box.width)), std::max(1, TwipsToPixelsY(box.height)));
  cursorPos_->setGeometry(2, displayBox_->height() - kReadoutHeight, displayBox_->width() - 4, kReadoutHeight);
  PlotCurves();
}

// The screen plot: drawn into the box's picture when the last series
// succeeded; the box is left blank otherwise. Then the labels and markers.
void GraphForm::PlotCurves() {
  QImage& picture = displayBox_->Picture();
  if (picture.size() != displayBox_->size()) picture = QImage(displayBox_->size(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  std::optional<MarkerVisibility> markers;
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PainterSurface screen(painter);
    ProjectState& s = session_.project;
    int w = picture.width(), h = picture.height();
    if (recorder_ != nullptr) recorder_->Clear();
    // Results out of date (a refused validation, a changed model) are not
    // drawn: the box stays empty until the series is calculated again.
    if (s.recalc) {
      displayBox_->update();
      return;
    }
    if (recorder_ != nullptr) {
      TeeSurface both(screen, *recorder_);
      markers = DrawScreenPlot(both, chart_, s, session_.results, data_, view_, w, h);
    } else {
      markers = DrawScreenPlot(screen, chart_, s, session_.results, data_, view_, w, h);
    }
  }
  if (markers) {
    drawn_ = true;
    PlaceLabels();
    ShowMarkers(*markers);
  }
  displayBox_->update();
}

void GraphForm::ShowMarkers(const MarkerVisibility& markers) {
  up_->setVisible(markers.up);
  down_->move(0, chart_.plotBottom + kDownMarkerBelowPlot);
  down_->setVisible(markers.down);
}

void GraphForm::PlaceLabels() {
  PlotRect rect = RectOf(chart_);
  for (FloatingLabel* label : labels_) {
    std::optional<LabelBox> box = PlaceLabel(rect, session_.project, label->Species(), label->width(), label->height());
    if (box) label->move(box->left, box->top);
  }
  if (!labels_.empty()) labels_[0]->setVisible(pHLabelShown_ && PhAxisShown(session_.project, view_));
}

void GraphForm::DisplayBox_MouseMove(QPoint at) {
  if (!drawn_) return;
  PlotRect rect = RectOf(chart_);
  displayBox_->setCursor(OverPlotWidth(rect, at.x()) ? Qt::CrossCursor : Qt::SizeVerCursor);
  bool shown = ReadoutShown(rect, at.x(), at.y());
  if (shown) {
    const int p = NearestPoint(chart_, data_, session_.project.npoints, at.x(), displayBox_->width());
    cursorPos_->setText(
        ToQ(ReadoutText(chart_, at.x(), at.y()) + ActivityReadout(session_.project, session_.results, p)));
  }
  cursorPos_->setVisible(shown);
}

// Beside the plot a click sets a limit; over it, it puts the label of the
// nearest curve there.
void GraphForm::DisplayBox_MouseDown(QPoint at) {
  if (!drawn_) return;
  ProjectState& s = session_.project;
  if (BesidePlot(RectOf(chart_), at.x())) {
    if (LimitClick(chart_, at.y(), s.plot)) PlotCurves();
    return;
  }
  int p = NearestPoint(chart_, data_, s.npoints, at.x(), displayBox_->width());
  int k = p > 0 ? NearestCurve(chart_, s, data_, p, at.y(), displayBox_->height()) : 0;
  if (k > 0) currentLabel_ = k;
  if (currentLabel_ < 0 || currentLabel_ >= static_cast<int>(labels_.size())) return;
  FloatingLabel* label = labels_[static_cast<std::size_t>(currentLabel_)];
  MoveLabelTo(currentLabel_, at - QPoint(label->width() / 2, label->height() / 2));
  PlotCurves();
  label->show();
  label->setFocus();
  if (currentLabel_ > s.nreag) {
    target_.constant = ConstantOfSpecies(s, currentLabel_);
    BetaFill();
  }
}

void GraphForm::Up_MouseUp() {
  ResetUpperLimit(session_.project, session_.results, data_);
  PlotCurves();
}

void GraphForm::down_MouseUp() {
  ResetLowerLimit(session_.project, data_);
  PlotCurves();
}

// ---- Labels.

QPixmap GraphForm::FormulaOf(int k, bool forGrid) const {
  const ProjectState& s = session_.project;
  std::string text = k >= 0 && k <= s.caption.Upper() ? s.caption(k) : std::string();
  Rgb colour = k == 0 ? kBlack : SpeciesColour(s, k, !forGrid && view_.blackWhite);
  return FormulaPicture(text, colour, forGrid ? PictureBackground::kWhite : PictureBackground::kTransparent);
}

// One label per species and the pH curve's; new ones hidden, every picture
// drawn anew (captions and colours may have changed).
void GraphForm::SyncLabels() {
  int wanted = session_.project.ntotal() + 1;
  while (static_cast<int>(labels_.size()) > wanted) {
    delete labels_.back();
    labels_.pop_back();
  }
  while (static_cast<int>(labels_.size()) < wanted) {
    auto* label = new FloatingLabel(static_cast<int>(labels_.size()), displayBox_);
    label->onPress = [this](int k, QPoint grab) { Formula_MouseDown(k, grab); };
    label->onDrop = [this](int k, QPoint drop) { Formula_DragDrop(k, drop); };
    label->onArrowKey = [this](int k, int key) { Formula_KeyDown(k, key); };
    labels_.push_back(label);
  }
  for (int k = 0; k < wanted; ++k) RepaintLabel(k);
  if (currentLabel_ >= wanted) currentLabel_ = -1;
}

void GraphForm::RepaintLabel(int k) {
  if (k < 0 || k >= static_cast<int>(labels_.size())) return;
  FloatingLabel* label = labels_[static_cast<std::size_t>(k)];
  QPixmap picture = FormulaOf(k, false);
  label->setPixmap(picture);
  label->resize(picture.size());
}

void GraphForm::HideAllLabels() {
  Hidelabels(session_.project);
  for (std::size_t k = 1; k < labels_.size(); ++k) labels_[k]->hide();
}

void GraphForm::MoveLabelTo(int k, QPoint topLeft) {
  FloatingLabel* label = labels_[static_cast<std::size_t>(k)];
  label->move(topLeft);
  LabelBox box{topLeft.x(), topLeft.y(), label->width(), label->height()};
  bool visible = Setlabel(session_.project, k, RectOf(chart_), box);
  if (k == 0) pHLabelShown_ = visible;
  label->setVisible(visible);
}

void GraphForm::Formula_MouseDown(int k, QPoint grab) {
  currentLabel_ = k;
  grab_ = grab;
}

void GraphForm::Formula_DragDrop(int k, QPoint drop) {
  if (k < 0 || k >= static_cast<int>(labels_.size())) return;
  MoveLabelTo(k, drop - grab_);
  PlotCurves();
}

void GraphForm::Formula_KeyDown(int k, int key) {
  if (k < 0 || k >= static_cast<int>(labels_.size())) return;
  QPoint step = key == Qt::Key_Up     ? QPoint(0, -1)
                : key == Qt::Key_Down ? QPoint(0, 1)
                : key == Qt::Key_Left ? QPoint(-1, 0)
                                      : QPoint(1, 0);
  MoveLabelTo(k, labels_[static_cast<std::size_t>(k)]->pos() + step);
}

bool GraphForm::LabelShown(int k) const {
  return k >= 0 && k < static_cast<int>(labels_.size()) && !labels_[static_cast<std::size_t>(k)]->isHidden();
}

FloatingLabel* GraphForm::Label(int k) const {
  return k >= 0 && k < static_cast<int>(labels_.size()) ? labels_[static_cast<std::size_t>(k)] : nullptr;
}

std::vector<bool> GraphForm::LabelVisibility() const {
  std::vector<bool> shown;
  for (std::size_t k = 0; k < labels_.size(); ++k) shown.push_back(LabelShown(static_cast<int>(k)));
  return shown;
}

void GraphForm::pHchoice_Click(bool ticked) {
  ShowSecondAxis(ticked, false);
}

void GraphForm::StrengthChoice_Click(bool ticked) {
  ShowSecondAxis(ticked, true);
}

// The right-hand axis shows the pH or the ionic strength (one at a time), or nothing.
void GraphForm::ShowSecondAxis(bool ticked, bool strength) {
  view_.pHTicked = ticked;
  view_.strengthAxis = ticked && strength;
  pHchoice_->setChecked(ticked && !strength);
  strengthChoice_->setChecked(ticked && strength);
  PreparePlotCaptions(session_.project, view_.strengthAxis);
  RepaintLabel(0);
  pHLabelShown_ = ticked;
  if (ticked) view_.pHLabelWaiting = true;
  PlotCurves();
}

// The pH needs a proton, the ionic strength a correction; both the percentages.
void GraphForm::EnableSecondAxisChoices() {
  const ProjectState& s = session_.project;
  pHchoice_->setEnabled(PhChoiceEnabled(s, s.plot.yChoice));
  strengthChoice_->setEnabled(ActivityOn(s.activity) && s.plot.yChoice == kYPercent);
}

void GraphForm::ColourOption_Click(int index) {
  view_.blackWhite = index == 1;
  colourOption_[index == 1 ? 1 : 0]->setChecked(true);
  for (int k = 0; k < static_cast<int>(labels_.size()); ++k) RepaintLabel(k);
  PlotCurves();
}

// A ratio from 0.2 to 5 reshapes the box; any other text leaves it as it
// was and shows in red until it is one.
void GraphForm::Aspect_Change(const QString& text) {
  std::optional<double> a = TypedNumber(FromQ(text));  // read as it is typed: "2x" is no aspect
  bool accepted = a && AspectAccepted(*a);
  QPalette palette = aspectBox_->palette();
  palette.setColor(QPalette::Text, accepted ? QApplication::palette().color(QPalette::Text) : QColor(Qt::red));
  aspectBox_->setPalette(palette);
  if (!accepted) return;
  aspect_ = *a;
  if (!loading_) FitPlotBox(true);
}

}  // namespace tarn::gui
