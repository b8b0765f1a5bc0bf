// The Wordplay tab in the search view, used from the keyboard: choosing a
// kind, typing into its box, searching with Enter, the results in the
// shared list, refusals that lead back to the box at fault, and each
// kind's own history.
#include "app/search/wordplay_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/search/recent_text_cb.h"
#include "app/search/search_host.h"
#include "app/search/search_view.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/testing/scratch_dir.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

class QuietHost : public SearchHost {
 public:
  CDictionary* ActiveDictionary() override { return dictionary; }
  void BeginSearchProgress(int) override { ++begun; }
  void SetSearchStatus(const QString&) override {}
  void SetSearchProgress(int) override {}
  void EndSearchProgress() override {}
  void SetFoundCount(int) override {}
  void UpdateCommandStates() override {}

  CDictionary* dictionary = nullptr;
  int begun = 0;
};

constexpr int kWordplayTab = 4;

}  // namespace

class WordplayViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();
  void keyboardSearchesOfEveryKind();
  void refusalLeadsToTheBoxAtFault();
  void altKeysAndEnterReachEveryShownControl();

 private:
  CSearchInfoWordplayView* Form() {
    view_->SelectTab(kWordplayTab);
    return static_cast<CSearchInfoWordplayView*>(view_->GetActiveForm());
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key),
                    modifiers);
  }
  void Type(const char* text) {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
  }
  void RunToEnd() { QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 10000); }
  std::vector<std::string> Results() { return view_->ResultWords(); }

  testing::ScratchDir scratch_;
  std::unique_ptr<CDictionary> dictionary_;
  QuietHost host_;
  std::unique_ptr<CSearchView> view_;
};

void WordplayViewTest::initTestCase() {
  QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
  const std::string path = scratch_.path() + "/words.dic";
  QVERIFY(testing::WriteDicFile(
      path, "Words",
      {"ache", "bain", "blow", "blushing", "bow", "cat", "crow", "crushing",
       "evil", "live", "rain", "rainbow", "row", "the", "veil", "vile"}));
  dictionary_ = OpenDictionaryFile(path.c_str());
  QVERIFY(dictionary_ != nullptr);
}

void WordplayViewTest::init() {
  DeleteRegTree(kCurrentUser, CSearchView::WindowKey().c_str());
  host_ = QuietHost();
  host_.dictionary = dictionary_.get();
  view_ = std::make_unique<CSearchView>(
      &host_, ComputeLayoutUnits(BaseTextMetrics{}));
  view_->resize(640, 480);
  view_->show();
  view_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(view_.get()));
}

void WordplayViewTest::cleanup() { view_.reset(); }

// The fifth tab, reached with Ctrl+Tab from the fourth; then every kind
// chosen with the arrow keys, its box reached with its Alt key, and the
// search started with Enter.
void WordplayViewTest::keyboardSearchesOfEveryKind() {
  view_->SelectTab(3);
  Key(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(view_->CurrentTab(), kWordplayTab);
  auto* form = static_cast<CSearchInfoWordplayView*>(view_->GetActiveForm());
  QCOMPARE(form->caption(), QString("Wordplay"));
  QTRY_COMPARE(QApplication::focusWidget(), form->kindList());
  QCOMPARE(form->kind(), WordplayKind::kEquation);
  QVERIFY(!view_->searchButton()->isEnabled());

  // An equation: its solutions read as sums.
  Key(Qt::Key_Q, Qt::AltModifier);
  QTRY_COMPARE(QApplication::focusWidget(),
               static_cast<QWidget*>(form->box(WordplayKind::kEquation)));
  Type("AB;A;B");
  QVERIFY(view_->searchButton()->isEnabled());
  Key(Qt::Key_Return);
  RunToEnd();
  QCOMPARE(Results(), std::vector<std::string>{"rainbow = rain + bow"});

  // Hidden words, backwards too: the phrase's own "cat" stays out.
  Key(Qt::Key_K, Qt::AltModifier);
  Key(Qt::Key_Down);
  QCOMPARE(form->kind(), WordplayKind::kHiddenWords);
  QVERIFY(!view_->searchButton()->isEnabled());  // its own, empty box
  QVERIFY(form->minimumBox()->isVisible());
  Key(Qt::Key_P, Qt::AltModifier);
  Type("The cat, ached! Wob-niar");
  Key(Qt::Key_R, Qt::AltModifier);
  QTRY_VERIFY(form->reversedBox()->isChecked());
  Key(Qt::Key_Return);
  RunToEnd();
  QCOMPARE(Results(), (std::vector<std::string>{
                          "ache", "bow (reversed)", "rain (reversed)",
                          "rainbow (reversed)"}));
  QCOMPARE(form->box(WordplayKind::kHiddenWords)->count(), 1);

  // Letter selections: the box is the kind's own, with its own history.
  Key(Qt::Key_K, Qt::AltModifier);
  Key(Qt::Key_Down);
  QVERIFY(!form->minimumBox()->isVisible());
  QVERIFY(!form->reversedBox()->isVisible());
  Key(Qt::Key_P, Qt::AltModifier);
  QTRY_COMPARE(QApplication::focusWidget(),
               static_cast<QWidget*>(
                   form->box(WordplayKind::kLetterSelections)));
  QCOMPARE(form->box(WordplayKind::kLetterSelections)->count(), 0);
  Type("vast ill love ease");
  Key(Qt::Key_Return);
  RunToEnd();
  QCOMPARE(Results().size(), size_t{4});
  QCOMPARE(Results()[1],
           std::string("first letters vile: a word; anagrams evil, live, "
                       "veil"));

  // A spoonerism.
  Key(Qt::Key_K, Qt::AltModifier);
  Key(Qt::Key_Down);
  Key(Qt::Key_O, Qt::AltModifier);
  Type("blushing crow");
  Key(Qt::Key_Return);
  RunToEnd();
  QCOMPARE(Results(),
           std::vector<std::string>{"blushing crow -> crushing blow"});
  QCOMPARE(host_.begun, 4);
}

// A minimum that is no positive number is refused; once the warning is
// dismissed the minimum box has the focus.
void WordplayViewTest::refusalLeadsToTheBoxAtFault() {
  CSearchInfoWordplayView* form = Form();
  form->SetKind(WordplayKind::kHiddenWords);
  form->box(WordplayKind::kHiddenWords)->setEditText("the cat");
  form->minimumBox()->setEditText("0");
  form->box(WordplayKind::kHiddenWords)->setFocus();
  testing::MessageBoxAnswerer answerer({QMessageBox::Ok});
  Key(Qt::Key_Return);
  QCOMPARE(answerer.texts().size(), 1);
  QVERIFY(answerer.texts()[0].contains("minimum length"));
  // The offscreen platform leaves the window inactive once the box has
  // closed; activated again, it gives the focus to the box at fault.
  view_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(view_.get()));
  QTRY_COMPARE(QApplication::focusWidget(),
               static_cast<QWidget*>(form->minimumBox()));
  QCOMPARE(host_.begun, 0);
  // Nothing was entered into a history.
  QCOMPARE(form->box(WordplayKind::kHiddenWords)->count(), 0);
}

// Each kind's shown labels lead to their controls with their Alt keys, and
// Enter in any shown control (the kind list and the check box too)
// searches.
void WordplayViewTest::altKeysAndEnterReachEveryShownControl() {
  CSearchInfoWordplayView* form = Form();
  for (int i = 0; i < kWordplayKindCount; ++i) {
    const auto kind = static_cast<WordplayKind>(i);
    form->SetKind(kind);
    form->box(kind)->setEditText(kind == WordplayKind::kEquation ? "A;~A"
                                                                 : "rainbow");
    for (QLabel* label : form->findChildren<QLabel*>()) {
      if (!label->isVisible()) continue;
      view_->resultsList()->setFocus();
      QTRY_VERIFY(view_->resultsList()->hasFocus());
      QTest::keySequence(QApplication::focusWidget(),
                         QKeySequence::mnemonic(label->text()));
      QTRY_COMPARE(QApplication::focusWidget(), label->buddy());
    }
    std::vector<QWidget*> controls = {form->kindList(), form->box(kind)};
    if (WordplayUsesMinimum(kind)) controls.push_back(form->reversedBox());
    for (QWidget* control : controls) {
      const int before = host_.begun;
      control->setFocus();
      QTRY_VERIFY(control->hasFocus());
      Key(Qt::Key_Return);
      QCOMPARE(host_.begun, before + 1);
      RunToEnd();
    }
  }
}

}  // namespace vocor

QTEST_MAIN(vocor::WordplayViewTest)
#include "wordplay_view_qtest.moc"
