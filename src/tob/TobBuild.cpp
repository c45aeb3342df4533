#include "TobBuild.h"
namespace tobx {
Outcome BuildTobArchive(AppState& state) { state.show(QStringLiteral("Not implemented yet!")); return Outcome::Stopped; }
}
