#pragma once
// A small calculated project for GUI tests: a titration of 10 mL of 0.1 M
// acetic acid (reagents L and H; species HL, log beta 4.75, and H-1, -13.77)
// by 0.1 M hydroxide up to 20 mL, calculated over npoints points.

#include "gui/app/session.h"

namespace tarn::gui::test {

// Returns the status of the point series (kSuccess when it converged).
int AceticAcidTitration(Session& session, int npoints);

}  // namespace tarn::gui::test
