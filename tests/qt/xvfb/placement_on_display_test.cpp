// Where the windows appear on a real X server without a window manager
// (where the toolkit alone would leave them at the top-left corner): the
// conditions dialog in the middle of the screen, the save-file dialog and
// the messages over the dialog, a message without owner in the middle of
// the screen. The save dialog speaks Japanese, opens on the output path's
// drive and names a new file. Screenshots of the whole screen go to
// build/screenshots.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "dialog/conditions_dialog.h"
#include "res/common/conditions_template.h"
#include "platform/host_home.h"
#include "platform/text_codec.h"
#include "tests/qt/qt_test_support.h"
#include "tests/qt/xvfb/sample_home.h"
#include "tests/qt/xvfb/xvfb_display.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

// The window's middle lies on the other's, within a few pixels of rounding.
void ExpectCentredOn(const QRect& around, QWidget* window, const char* what) {
  const QPoint offset = QRect(window->pos(), window->size()).center() - around.center();
  EXPECT_LE(offset.manhattanLength(), 4) << what << " at " << window->x() << "," << window->y();
}

void SaveScreen(const char* name) {
  QDir().mkpath(STMTLINK_SCREENSHOT_DIR);
  QGuiApplication::primaryScreen()->grabWindow(0).save(QStringLiteral(STMTLINK_SCREENSHOT_DIR "/") + name);
}

TEST(PlacementOnDisplayTest, WindowsAreCentredAndTheSaveDialogNamesANewFileInJapanese) {
  XVFB_OR_SKIP();
  testing::TempDir home;
  std::string error;
  ASSERT_TRUE(testing::WriteSampleHomeWithOutFolder(home, 20, &error)) << error;
  // A file in the folder, so that the screenshot shows the dialog's dates.
  std::ofstream(home.File("drive_c/out/last-year.xml")) << "<?xml?>";
  SetHostHome(home.path());
  ConditionsDialog dialog;
  dialog.periodStart = 20250401;
  dialog.periodEnd = 20260331;
  dialog.isCompanyLawData = 1;
  dialog.companyName = ToCp932(" 株式会社テスト");
  QtFrontEnd front_end;
  SetFrontEnd(&front_end);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

  testing::ModalPoller poller;
  QString start_folder, accept_label, look_in_label;
  poller.on_file = [&](QFileDialog* files) {
    QTest::qWait(50);
    SaveScreen("save-dialog-xvfb.png");
    ExpectCentredOn(front_end.dialogs().window()->frameGeometry(), files, "the save dialog");
    start_folder = files->directory().absolutePath();
    accept_label = files->labelText(QFileDialog::Accept);
    look_in_label = files->labelText(QFileDialog::LookIn);
    // A name that no file has yet.
    files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("新規"));
    static_cast<QDialog*>(files)->accept();
  };
  poller.on_box = [&](QMessageBox* box) {
    QTest::qWait(50);
    SaveScreen("cancel-message-xvfb.png");
    ExpectCentredOn(front_end.dialogs().window()->frameGeometry(), box, "the dialog's message");
    return false;
  };
  QString output;
  QTimer::singleShot(0, [&] {
    QtDialogWindow* window = front_end.dialogs().window();
    ASSERT_NE(nullptr, window);
    QTest::qWait(50);
    SaveScreen("dialog-xvfb.png");
    ExpectCentredOn(screen, window, "the conditions dialog");
    // A folder that does not exist yet: the save dialog opens on its
    // nearest existing parent.
    qobject_cast<QLineEdit*>(window->Control(IDC_OUTPUT_PATH))->setText(QStringLiteral("C:\\out\\まだない\\r.xml"));
    QTest::mouseClick(window->Control(IDC_BROWSE), Qt::LeftButton);
    output = qobject_cast<QLineEdit*>(window->Control(IDC_OUTPUT_PATH))->text();
    QTest::keyClick(window, Qt::Key_Escape); // the cancel message, then the end
  });
  EXPECT_EQ(ConditionsDialog::kResultCancel, dialog.DoModal());
  EXPECT_EQ(QString::fromStdString(home.File("drive_c/out")), start_folder);
  EXPECT_EQ(QStringLiteral("保存(&S)"), accept_label);
  EXPECT_EQ(QStringLiteral("保存する場所:"), look_in_label);
  EXPECT_EQ(QStringLiteral("C:\\out\\新規.XML"), output);
  ASSERT_EQ(1u, poller.shown.size());

  // The closing message has no owner: the middle of the screen.
  poller.on_box = [&](QMessageBox* box) {
    QTest::qWait(50);
    SaveScreen("closing-message-xvfb.png");
    ExpectCentredOn(screen, box, "a message without owner");
    return false;
  };
  front_end.ShowMessageBox(0, ToCp932("決算書の集計が完了しました。"), ToCp932("決算書"), MB_OK | MB_ICONASTERISK);
  EXPECT_EQ(2u, poller.shown.size());
  SetFrontEnd(nullptr);
}

} // namespace
} // namespace stmtlink
