#include "headlessgui.h"

namespace HeadlessGui {

namespace {

QtMessageHandler previous = nullptr;

void holdBack(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && previous)
        previous(type, context, message);
}

} // namespace

void before()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    previous = qInstallMessageHandler(holdBack);
}

void after()
{
    qInstallMessageHandler(previous);
}

} // namespace HeadlessGui
