// The conditions dialog as a Qt window, driven with keys and the mouse on
// the offscreen platform: its layout from the resource, the Enter chain, F12,
// Esc and the close box, Tab and mnemonics, the save-file dialog, the
// messages with their owner, and the results the run sequence reads.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>
#include <functional>

#include "dialog/conditions_dialog.h"
#include "dialog/conditions_input.h"
#include "res/common/conditions_template.h"
#include "host/substitute/host_ini.h"
#include "platform/text_codec.h"
#include "tests/qt/qt_test_support.h"
#include "tests/support/scratch_home.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

using testing::ModalPoller;

const QString kCaption = QStringLiteral("決算書");

class QtConditionsDialogTest : public ::testing::Test {
 protected:
  QtConditionsDialogTest() {
    home_.WriteHostIni("[Folders]\nAppFolder0=C:\\export\\\nAppFolder1=C:\\settings\\\n");
    ForgetHostIni();
    home_.MakeDir("drive_c/export");
    home_.MakeDir("drive_c/existing");
    home_.WriteFile("drive_c/existing/report.xml", "old");
    SetFrontEnd(&front_end_);
    dialog_.periodStart = 20250401;
    dialog_.periodEnd = 20260331;
    dialog_.isCompanyLawData = 1;
    std::strcpy(dialog_.userId, "USER01");
    dialog_.selectionNo2 = 1;
    dialog_.companyName = ToCp932(" 株式会社テスト");
    dialog_.periodText = ToCp932(" 2025/04/01～2026/03/31");
  }
  ~QtConditionsDialogTest() override { SetFrontEnd(nullptr); }

  // Runs the dialog; `steps` act on it once it is on screen. A dialog that
  // the steps leave open is abandoned (a cancel).
  int Run(std::function<void(QtDialogWindow&)> steps) {
    QTimer::singleShot(0, [this, &steps] {
      QtDialogWindow* window = front_end_.dialogs().window();
      if (window == nullptr) return;
      steps(*window);
      if (front_end_.dialogs().window() != nullptr && !front_end_.dialogs().ended())
        front_end_.dialogs().EndDialog(ConditionsDialog::kResultCancel);
    });
    return dialog_.DoModal();
  }

  static int Focus(QtDialogWindow& w) { return w.IdOf(w.focusWidget()); }
  static QLineEdit* Edit(QtDialogWindow& w, int id) { return qobject_cast<QLineEdit*>(w.Control(id)); }
  static void Key(QtDialogWindow& w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, key, mods);
  }
  // Replaces an edit's text by typing, as a user does.
  static void Type(QtDialogWindow& w, int id, const QString& text) {
    QLineEdit* edit = Edit(w, id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  static void Click(QtDialogWindow& w, int id) { QTest::mouseClick(w.Control(id), Qt::LeftButton); }
  QString LinuxPath(const char* relative) { return QString::fromStdString(home_.Path(relative)); }

  ScratchHome home_;
  QtFrontEnd front_end_;
  ModalPoller poller_;
  ConditionsDialog dialog_;
};

TEST_F(QtConditionsDialogTest, LaysOutTheResourceInDialogUnitsOfItsJapaneseFont) {
  QString shot;
  Run([&](QtDialogWindow& w) {
    EXPECT_EQ(QStringLiteral("決算書 - 集計条件"), w.windowTitle());
    const DialogUnits& u = w.units();
    EXPECT_EQ(u.base_x, DialogUnits::ForFont(front_end_.font()).base_x);
    EXPECT_GE(u.base_x, 4);
    EXPECT_GE(u.base_y, 10);
    EXPECT_EQ(QSize(u.X(282), u.Y(178)), w.size());
    const DialogTemplate& resource = ConditionsDialogTemplate();
    for (std::size_t i = 0; i < resource.control_count; ++i) {
      const ControlTemplate& c = resource.controls[i];
      EXPECT_EQ(u.Rect(c.x, c.y, c.cx, c.cy), w.ControlAt(i)->geometry()) << "control " << i;
    }
    // Every text of the window is drawn from the font's own glyphs.
    const QFontMetrics metrics(w.font());
    for (QChar c : QStringLiteral("決算書集計条件事業所名会計期間月度～株主／社員資本等変動計算書の選択出力先参照実行キャンセル総勘定元帳"))
      EXPECT_TRUE(metrics.inFont(c)) << int(c.unicode());
    // Labels keep their mnemonics for the control after them.
    auto* from_label = qobject_cast<QLabel*>(w.Control(1011));
    EXPECT_EQ(QStringLiteral("月度(&S)"), from_label->text());
    EXPECT_EQ(w.Control(IDC_FROM_MONTH), from_label->buddy());
    // No default button; the window has a caption and a system menu.
    for (int id : {IDC_BROWSE, IDC_EXECUTE, IDC_CANCEL_BUTTON}) {
      auto* button = qobject_cast<QPushButton*>(w.Control(id));
      EXPECT_FALSE(button->isDefault() || button->autoDefault()) << id;
    }
    EXPECT_TRUE(w.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w.windowIcon().isNull());
    // Initial values; the focus on the from-month edit, its text selected.
    EXPECT_EQ(QStringLiteral(" 株式会社テスト"), qobject_cast<QLabel*>(w.Control(IDC_COMPANY_NAME))->text());
    EXPECT_EQ(IDC_FROM_MONTH, Focus(w));
    EXPECT_EQ(QStringLiteral("4"), Edit(w, IDC_FROM_MONTH)->selectedText());
    EXPECT_EQ(QStringLiteral("3"), Edit(w, IDC_TO_MONTH)->text());
    EXPECT_EQ(QStringLiteral("C:\\export\\*.xml"), Edit(w, IDC_OUTPUT_PATH)->text());
    EXPECT_EQ(Qt::AlignRight, Edit(w, IDC_TO_MONTH)->alignment() & Qt::AlignHorizontal_Mask);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(w.Control(IDC_SHAREHOLDERS))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(w.Control(IDC_LEDGER))->isChecked());
    shot = testing::SaveScreenshot(&w, QStringLiteral("dialog.png"));
  });
  EXPECT_GT(QFileInfo(shot).size(), 4000);
}

TEST_F(QtConditionsDialogTest, EnterWalksToBrowseWhichOpensTheSaveDialogThenExecuteChecks) {
  QString title, suffix, folder;
  QStringList filters;
  QFileDialog::FileMode mode = QFileDialog::ExistingFile;
  QString accept_label, translated;
  bool confirms_overwrite = true;
  QStringList literal_ampersands;
  poller_.on_file = [&](QFileDialog* files) {
    // A label without a buddy would draw its "&" as it is.
    for (const QLabel* label : files->findChildren<QLabel*>())
      if (!label->isHidden() && label->text().contains(u'&') && label->buddy() == nullptr)
        literal_ampersands << label->text();
    title = files->windowTitle();
    filters = files->nameFilters();
    suffix = files->defaultSuffix();
    mode = files->fileMode();
    confirms_overwrite = !files->testOption(QFileDialog::DontConfirmOverwrite);
    folder = files->directory().absolutePath();
    accept_label = files->labelText(QFileDialog::Accept);
    translated = QFileDialog::tr("Detail View");
    files->reject();
  };
  Run([&](QtDialogWindow& w) {
    Key(w, Qt::Key_Return);
    EXPECT_EQ(IDC_TO_MONTH, Focus(w));
    EXPECT_EQ(QStringLiteral("3"), Edit(w, IDC_TO_MONTH)->selectedText());
    Key(w, Qt::Key_Enter); // the keypad's Enter alike
    EXPECT_EQ(IDC_OUTPUT_PATH, Focus(w));
    EXPECT_EQ(QStringLiteral("C:\\export\\*.xml"), Edit(w, IDC_OUTPUT_PATH)->selectedText());
    Key(w, Qt::Key_Return);
    EXPECT_EQ(IDC_BROWSE, Focus(w));
    Key(w, Qt::Key_Return); // the save dialog, cancelled
    EXPECT_EQ(1, poller_.file_dialogs);
    EXPECT_EQ(IDC_EXECUTE, Focus(w));
    Key(w, Qt::Key_Return); // "*" is not allowed in a file name
    ASSERT_EQ(1u, poller_.shown.size());
    EXPECT_EQ(kCaption, poller_.shown[0].title);
    EXPECT_EQ(QStringLiteral("データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。"),
              poller_.shown[0].text);
    EXPECT_EQ(QMessageBox::Warning, poller_.shown[0].icon);
    EXPECT_EQ(QStringList{QStringLiteral("OK")}, poller_.shown[0].buttons);
    EXPECT_EQ(&w, poller_.shown[0].parent);
    EXPECT_EQ(IDC_OUTPUT_PATH, Focus(w));
    EXPECT_EQ(QStringLiteral("C:\\export\\*.xml"), Edit(w, IDC_OUTPUT_PATH)->selectedText());
  });
  EXPECT_EQ(QStringLiteral("保存ファイルを指定"), title);
  EXPECT_EQ(QStringList{QStringLiteral("Xml Files (*.xml)")}, filters);
  EXPECT_EQ(QStringLiteral("XML"), suffix);
  // A new file can be named through the dialog too.
  EXPECT_EQ(QFileDialog::AnyFile, mode);
  EXPECT_EQ(QStringLiteral("保存(&S)"), accept_label);
  // Qt's own texts in Japanese where Debian's translations are installed.
  if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm"))) {
    EXPECT_NE(QStringLiteral("Detail View"), translated);
  }
  EXPECT_FALSE(confirms_overwrite);
  EXPECT_EQ(LinuxPath("drive_c/export"), folder);
  EXPECT_TRUE(literal_ampersands.isEmpty()) << literal_ampersands.join(u' ').toStdString();
}

TEST_F(QtConditionsDialogTest, AChosenFileBecomesAWindowsPathAndF12AsksBeforeOverwriting) {
  poller_.on_file = [&](QFileDialog* files) {
    files->selectFile(LinuxPath("drive_c/existing/report.xml"));
    static_cast<QDialog*>(files)->accept();
  };
  QString shot;
  poller_.on_box = [&](QMessageBox* box) {
    shot = testing::SaveScreenshot(box, QStringLiteral("message-box.png"));
    return false;
  };
  poller_.answers = {IDYES};
  const int result = Run([&](QtDialogWindow& w) {
    Click(w, IDC_BROWSE);
    EXPECT_EQ(QStringLiteral("C:\\existing\\report.xml"), Edit(w, IDC_OUTPUT_PATH)->text());
    EXPECT_EQ(IDC_EXECUTE, Focus(w));
    Key(w, Qt::Key_F12);
  });
  EXPECT_EQ(ConditionsDialog::kResultExecute, result);
  ASSERT_EQ(1, poller_.shown.size());
  EXPECT_EQ(QStringLiteral("同名のファイルが存在します。\n\n上書きしてもよろしいですか？"), poller_.shown[0].text);
  EXPECT_EQ(QMessageBox::Question, poller_.shown[0].icon);
  EXPECT_EQ((QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}), poller_.shown[0].buttons);
  EXPECT_EQ("C:\\existing\\report.xml", dialog_.outputPath);
  EXPECT_EQ("4", dialog_.fromMonthText);
  EXPECT_EQ("3", dialog_.toMonthText);
  EXPECT_GT(QFileInfo(shot).size(), 3000);
}

TEST_F(QtConditionsDialogTest, MonthEditsTakeTwoDigitsAndF12WorksFromAnyControl) {
  const int result = Run([&](QtDialogWindow& w) {
    Type(w, IDC_FROM_MONTH, QStringLiteral("1a3x"));
    EXPECT_EQ(QStringLiteral("13"), Edit(w, IDC_FROM_MONTH)->text());
    Type(w, IDC_TO_MONTH, QStringLiteral("123"));
    EXPECT_EQ(QStringLiteral("12"), Edit(w, IDC_TO_MONTH)->text());
    w.Control(IDC_LEDGER)->setFocus();
    Key(w, Qt::Key_F12);
    ASSERT_EQ(1u, poller_.shown.size());
    EXPECT_EQ(QStringLiteral("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。"), poller_.shown[0].text);
    EXPECT_EQ(IDC_FROM_MONTH, Focus(w));
    EXPECT_EQ(QStringLiteral("13"), Edit(w, IDC_FROM_MONTH)->selectedText());
    Type(w, IDC_FROM_MONTH, QStringLiteral("5"));
    Type(w, IDC_TO_MONTH, QStringLiteral("9"));
    Type(w, IDC_OUTPUT_PATH, QStringLiteral("C:\\existing\\new.xml"));
    w.Control(IDC_CANCEL_BUTTON)->setFocus();
    Key(w, Qt::Key_F12);
  });
  EXPECT_EQ(ConditionsDialog::kResultExecute, result);
  EXPECT_EQ(1u, poller_.shown.size());
  EXPECT_EQ("5", dialog_.fromMonthText);
  EXPECT_EQ("9", dialog_.toMonthText);
  EXPECT_EQ("C:\\existing\\new.xml", dialog_.outputPath);
}

TEST_F(QtConditionsDialogTest, EscAndTheCloseBoxCancelWithTheMessage) {
  EXPECT_EQ(ConditionsDialog::kResultCancel, Run([&](QtDialogWindow& w) { Key(w, Qt::Key_Escape); }));
  EXPECT_EQ(ConditionsDialog::kResultCancel, Run([&](QtDialogWindow& w) { w.close(); }));
  // Enter on a radio reaches no button: nothing happens.
  EXPECT_EQ(ConditionsDialog::kResultCancel, Run([&](QtDialogWindow& w) {
              w.Control(IDC_SHAREHOLDERS)->setFocus();
              Key(w, Qt::Key_Return);
              EXPECT_FALSE(front_end_.dialogs().ended());
            }));
  ASSERT_EQ(2u, poller_.shown.size());
  for (const testing::ShownBox& box : poller_.shown) {
    EXPECT_EQ(QStringLiteral("｢決算書｣の集計を中止します。"), box.text);
    EXPECT_EQ(QMessageBox::Information, box.icon);
    EXPECT_EQ(kCaption, box.title);
  }
}

TEST_F(QtConditionsDialogTest, TheMouseSetsTheChoicesAndANoKeepsTheDialogOpen) {
  poller_.answers = {IDNO, IDYES};
  const int result = Run([&](QtDialogWindow& w) {
    Click(w, IDC_MEMBERS);
    EXPECT_EQ(IDC_MEMBERS, Focus(w));
    EXPECT_FALSE(qobject_cast<QRadioButton*>(w.Control(IDC_SHAREHOLDERS))->isChecked());
    Click(w, IDC_LEDGER);
    Type(w, IDC_OUTPUT_PATH, QStringLiteral("C:\\existing\\report.xml"));
    Click(w, IDC_EXECUTE);
    EXPECT_FALSE(front_end_.dialogs().ended());
    EXPECT_EQ(IDC_OUTPUT_PATH, Focus(w));
    Click(w, IDC_EXECUTE);
  });
  EXPECT_EQ(ConditionsDialog::kResultExecute, result);
  EXPECT_EQ(2u, poller_.shown.size());
  EXPECT_EQ(2, dialog_.equityKind);
  EXPECT_EQ(0, dialog_.outputLedger);
}

TEST_F(QtConditionsDialogTest, TabFollowsTheResourceOrderAndMnemonicsReachTheirControls) {
  Run([&](QtDialogWindow& w) {
    std::vector<int> order;
    for (int i = 0; i < 8; ++i) {
      Key(w, Qt::Key_Tab);
      order.push_back(Focus(w));
    }
    EXPECT_EQ((std::vector<int>{IDC_TO_MONTH, IDC_SHAREHOLDERS, IDC_OUTPUT_PATH, IDC_BROWSE, IDC_EXECUTE,
                                IDC_CANCEL_BUTTON, IDC_LEDGER, IDC_FROM_MONTH}),
              order);
    Key(w, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(IDC_LEDGER, Focus(w));
    // The radio group is entered at its checked radio.
    qobject_cast<QRadioButton*>(w.Control(IDC_MEMBERS))->setChecked(true);
    Edit(w, IDC_TO_MONTH)->setFocus();
    Key(w, Qt::Key_Tab);
    EXPECT_EQ(IDC_MEMBERS, Focus(w));

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Key(w, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(IDC_TO_MONTH, Focus(w));
    Key(w, Qt::Key_O, Qt::AltModifier); // the group box: the edit after it
    EXPECT_EQ(IDC_OUTPUT_PATH, Focus(w));
    Key(w, Qt::Key_K, Qt::AltModifier); // a radio's mnemonic clicks it (animated)
    auto* shareholders = qobject_cast<QRadioButton*>(w.Control(IDC_SHAREHOLDERS));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shareholders->isChecked(); }, 2000));
  });
}

TEST_F(QtConditionsDialogTest, AnImposedPathDisablesItsControlsAndIsNotQuestioned) {
  dialog_.fixedOutputPath = "C:\\existing\\report.xml";
  const int result = Run([&](QtDialogWindow& w) {
    EXPECT_FALSE(w.Control(IDC_OUTPUT_PATH)->isEnabled());
    EXPECT_FALSE(w.Control(IDC_BROWSE)->isEnabled());
    EXPECT_EQ(QStringLiteral("出力先"), qobject_cast<QGroupBox*>(w.Control(IDC_OUTPUT_GROUP))->title());
    Key(w, Qt::Key_Return);
    Key(w, Qt::Key_Return);
    EXPECT_EQ(IDC_EXECUTE, Focus(w));
    Key(w, Qt::Key_Return);
  });
  EXPECT_EQ(ConditionsDialog::kResultExecute, result);
  EXPECT_TRUE(poller_.shown.empty());
}

TEST_F(QtConditionsDialogTest, RefusedDataIsToldBeforeTheDialogShows) {
  dialog_.isPastResults = 1;
  bool dialog_visible = true;
  poller_.on_box = [&](QMessageBox* box) {
    dialog_visible = box->parentWidget() != nullptr && box->parentWidget()->isVisible();
    return false;
  };
  EXPECT_EQ(ConditionsDialog::kResultCancel, dialog_.DoModal());
  ASSERT_EQ(1u, poller_.shown.size());
  EXPECT_EQ(QStringLiteral("過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。"),
            poller_.shown[0].text);
  EXPECT_FALSE(dialog_visible);
}

TEST_F(QtConditionsDialogTest, OptionsAreTypedInBeforeTheDialogShowsOrRunUnattended) {
  ConditionsChoices choices;
  choices.from_month = 5;
  choices.to_month = 9;
  choices.equity_kind = 2;
  choices.output_path = "C:\\existing\\new.xml";
  QtFrontEndSettings settings;
  settings.dialog_input = ConditionsDialogInput(choices);
  {
    QtFrontEnd prefilled(settings);
    SetFrontEnd(&prefilled);
    QTimer::singleShot(0, [&] {
      QtDialogWindow& w = *prefilled.dialogs().window();
      EXPECT_EQ(QStringLiteral("5"), Edit(w, IDC_FROM_MONTH)->selectedText());
      EXPECT_EQ(IDC_FROM_MONTH, Focus(w));
      EXPECT_EQ(QStringLiteral("9"), Edit(w, IDC_TO_MONTH)->text());
      EXPECT_TRUE(qobject_cast<QRadioButton*>(w.Control(IDC_MEMBERS))->isChecked());
      EXPECT_EQ(QStringLiteral("C:\\existing\\new.xml"), Edit(w, IDC_OUTPUT_PATH)->text());
      Key(w, Qt::Key_F12);
    });
    EXPECT_EQ(ConditionsDialog::kResultExecute, dialog_.DoModal());
  }
  settings.unattended = true;
  QtFrontEnd unattended(settings);
  SetFrontEnd(&unattended);
  EXPECT_EQ(ConditionsDialog::kResultExecute, dialog_.DoModal());
  EXPECT_EQ("5", dialog_.fromMonthText);
  EXPECT_EQ(2, dialog_.equityKind);
  EXPECT_TRUE(poller_.shown.empty());
}

} // namespace
} // namespace stmtlink
