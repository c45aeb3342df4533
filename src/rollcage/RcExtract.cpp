#include "RcExtract.h"
namespace tobx {
Outcome ExtractRcArchive(AppState& state, const RcTweakModel&) { state.show(QStringLiteral("Not implemented yet!")); return Outcome::Stopped; }
}
