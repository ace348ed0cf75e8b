// Widget tests run inside one QApplication on the offscreen platform; the main window's tests run
// inside the program's own application object, whose handler boundary they exercise.
#include <QApplication>
#include <gmock/gmock.h>

#ifdef TINTARA_APP_BOUNDARY
#include "app/Application.h"
using TestApplication = tintara::TintaraApplication;
#else
using TestApplication = QApplication;
#endif

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    TestApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
