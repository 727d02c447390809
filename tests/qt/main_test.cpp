// The Qt front end's tests need a QApplication for the whole run; without a
// display they render offscreen.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

// The offscreen platform says so for every raise() and size hint; the
// rest of Qt's messages go through.
QtMessageHandler g_previous = nullptr;
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  if (g_previous) g_previous(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  g_previous = qInstallMessageHandler(QuietOffscreen);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
