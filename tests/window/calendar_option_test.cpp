// The "Also export the whole calendar" check box among the window's classic controls: its
// default, its place, its tab stop and its access key.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "window/main_window.h"

namespace vessory::window {
namespace {

class CalendarOptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_.path()));
    window_ = std::make_unique<MainWindow>();
    window_->setMessagePresenter([this](const QString& text) { messages_ << text; });
    window_->setQuitAction([this] { ++quits_; });
    box_ = window_->findChild<QCheckBox*>(QStringLiteral("AlsoCalendar"));
    ASSERT_NE(box_, nullptr);
  }
  void TearDown() override { qputenv("HOME", savedHome_); }

  void showActive() {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  QTemporaryDir home_;
  QByteArray savedHome_;
  std::unique_ptr<MainWindow> window_;
  QCheckBox* box_ = nullptr;
  QStringList messages_;
  int quits_ = 0;
};

TEST_F(CalendarOptionTest, StartsUncheckedWithItsCaption) {
  EXPECT_FALSE(box_->isChecked());
  EXPECT_FALSE(box_->isTristate());
  EXPECT_EQ(box_->text(), "&Also export the whole calendar (Datebook.ics)");
}

TEST_F(CalendarOptionTest, FitsInTheWindowWithoutCoveringAnotherControl) {
  showActive();
  EXPECT_EQ(window_->size(), QSize(549, 561));
  const QRect place = box_->geometry();
  EXPECT_TRUE(window_->rect().contains(place)) << place.x() << "," << place.y();
  // The whole caption shows: the box is as wide as it asks to be, and tall enough for a line of
  // its font and for its indicator (the strip leaves no room for the style's margins above).
  EXPECT_GE(place.width(), box_->sizeHint().width());
  EXPECT_GE(place.height(), box_->fontMetrics().height());
  EXPECT_GE(place.height(), box_->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box_));
  for (QWidget* other : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == box_ || !other->isVisible()) continue;
    EXPECT_FALSE(place.intersects(other->geometry())) << other->objectName().toStdString();
  }
}

TEST_F(CalendarOptionTest, TabStopComesRightAfterWordwrap) {
  showActive();
  auto* wordWrap = window_->findChild<QWidget*>(QStringLiteral("WordWrap"));
  wordWrap->setFocus();
  QTest::keyClick(wordWrap, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), box_);
  QTest::keyClick(box_, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "AlsoNotes");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), box_);
}

TEST_F(CalendarOptionTest, AccessKeyIsTheWindowsOnlyAltA) {
  QStringList keys;
  const QRegularExpression marked(QStringLiteral("&([^&])"));
  for (QWidget* widget : window_->findChildren<QWidget*>()) {
    QString caption;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) caption = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) caption = label->text();
    for (const QRegularExpressionMatch& match : marked.globalMatch(caption)) {
      keys << match.captured(1).toUpper();
    }
  }
  EXPECT_EQ(keys.count("A"), 1);
  EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
}

TEST_F(CalendarOptionTest, AltAChecksAndUnchecksTheBoxWithoutExporting) {
  showActive();
  QTest::keyClick(window_.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return box_->isChecked(); }));
  QTest::keyClick(window_.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !box_->isChecked(); }));
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(quits_, 0);
}

}  // namespace
}  // namespace vessory::window
