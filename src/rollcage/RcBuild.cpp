#include "RcBuild.h"
namespace tobx {
Outcome BuildRcIndex(AppState& state) { state.show(QStringLiteral("Not implemented yet!")); return Outcome::Stopped; }
}
