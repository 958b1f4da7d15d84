#ifndef HEADLESSGUI_H
#define HEADLESSGUI_H

#include <QByteArray>
#include <QtGlobal>

// Qt Gui's fonts, which the contact sheet's words need, without a display:
// the command-line programs start a QGuiApplication on the offscreen
// platform unless the environment names one. Between before() and after(),
// around the application's construction, Qt's notices are held back: the
// platform's start-up remarks (a missing XDG_RUNTIME_DIR, for one) are no
// business of scripts that read stderr. A fatal one still goes out.
namespace HeadlessGui {

void before();
void after();

} // namespace HeadlessGui

#endif // HEADLESSGUI_H
