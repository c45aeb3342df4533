#include "TobExtract.h"
namespace tobx {
Outcome ExtractTobArchive(AppState& state) { state.show(QStringLiteral("Not implemented yet!")); return Outcome::Stopped; }
}
