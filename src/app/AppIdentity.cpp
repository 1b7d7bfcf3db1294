#include "AppIdentity.h"

namespace AppIdentity {
QString appVersion() {
    const QString compiledIn = QStringLiteral(ZENTREL_VERSION);
    return compiledIn.isEmpty() ? QStringLiteral("0.1") : compiledIn;
}
} // namespace AppIdentity
