#include "app/Resources.h"

#include <QtGlobal>

static void InitCorvaneResources() { Q_INIT_RESOURCE(corvane); }

namespace corvane {

void InitResources() { InitCorvaneResources(); }

}  // namespace corvane
