#include "Tob1Converter.h"
namespace tobx {
Outcome ConvertTob1Picture(AppState& state, const QString&, const QString&) { state.show(QStringLiteral("Not implemented yet!")); return Outcome::Stopped; }
}
