#include "core/common/scriptwarningfilter.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace Dayloom {

namespace {

QtMessageHandler previousHandler = nullptr;

void FilterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("OpenType support missing for")))
        return;
    if (previousHandler) {
        previousHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void SilenceMissingScriptWarnings()
{
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(FilterMessage);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace Dayloom
