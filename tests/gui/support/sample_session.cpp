#include "support/sample_session.h"

#include "engine/new_concentrations.h"
#include "model/message_sink.h"
#include "model/model.h"

namespace tarn::gui::test {

int AceticAcidTitration(Session& session, int npoints) {
  ProjectState& s = session.project;
  s.title = "Acetic acid";
  s.nreag = 2;
  s.nspecies = 2;
  s.nsolids = 0;
  s.nsoluble = 4;
  AllocateModel(s);
  s.name(1) = "L";
  s.name(2) = "H";
  s.proton = FindProton(s);
  s.a(1, 1) = 1;
  s.a(2, 1) = 1;
  s.logbeta(1) = 4.75;
  s.a(2, 2) = -1;
  s.logbeta(2) = -13.77;
  s.type = kTitration;
  s.volume = {10, 1};
  s.vfinal = 20;
  s.total(1, kTitration) = 1;  // mmol
  s.total(2, kTitration) = 1;
  s.burette(2, kTitration) = -0.1;  // mol/L of H: hydroxide
  s.flag(1, kTitration) = true;
  s.flag(2, kTitration) = true;
  DeriveTitrationConcentrations(s);
  DefaultCaptions(s);
  s.npoints = npoints;
  RecordingSink sink;
  return CalculatePoints(s, session.work, session.results, sink);
}

}  // namespace tarn::gui::test
