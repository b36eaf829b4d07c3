#include "core/app/point_count.h"

#include <cmath>

#include "core/model/number_text.h"

namespace tarn {

void UsePointChoice(const PointChoice& choice, ProjectState& project, Settings& settings) {
  project.npoints = choice.npoints;
  settings.nsel = choice.nsel;
}

std::string PresetCaption(int entry) {
  if (entry < 1 || entry >= kCustomEntry) return {};
  return std::to_string(kPresetPoints[static_cast<std::size_t>(entry)]);
}

PointChoice LoadPointChoice(int nsel) {
  PointChoice c;
  if (nsel < 1 || nsel > kMaxPoints) nsel = PointChoice{}.nsel;
  c.nsel = nsel;
  if (nsel < kCustomEntry) {
    c.checked = nsel;
    c.npoints = kPresetPoints[static_cast<std::size_t>(nsel)];
  } else {
    c.checked = kCustomEntry;
    c.npoints = nsel;
    c.customCaption = "Custom " + PlainText(nsel);
  }
  return c;
}

PointChoice ChoosePreset(const PointChoice& current, int entry) {
  if (entry < 1 || entry >= kCustomEntry) return current;
  PointChoice c = current;
  c.nsel = entry;
  c.checked = entry;
  c.npoints = kPresetPoints[static_cast<std::size_t>(entry)];
  c.customCaption = kCustomCaption;
  return c;
}

CustomResult ChooseCustom(const PointChoice& current, std::string_view answer) {
  CustomResult r{current, false, {}};
  r.choice.checked = 0;
  if (answer.empty()) return r;
  std::optional<double> typed = TypedNumber(answer);  // "20x" is no count
  if (!typed) {
    r.message = kInvalidNumberMessage;
    return r;
  }
  const double rounded = std::nearbyint(*typed);  // halves to the even neighbour
  if (rounded < kMinPoints || rounded > kMaxPoints) {
    r.message = kPointsOutOfRange;
    return r;
  }
  const int count = static_cast<int>(rounded);
  r.choice.npoints = count;
  r.choice.checked = kCustomEntry;
  r.choice.customCaption = "Custom " + std::string(answer);
  if (count >= kCustomEntry) r.choice.nsel = count;
  r.changed = true;
  return r;
}

}  // namespace tarn
