// Background work waits while any modal scope or modal widget is open and hears when all close.
#include <gtest/gtest.h>

#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <memory>

#include "shared/qt/ModalScope.h"

namespace {

TEST(ModalScope, NestedScopesHoldBackgroundUntilTheLastCloses) {
  int closed = 0;
  const QMetaObject::Connection connection = QObject::connect(
      &shared::ModalScopes(), &shared::TModalScopeNotifier::AllClosed, [&] { ++closed; });
  ASSERT_TRUE(shared::BackgroundMayRun());
  {
    const shared::TModalScope outer;
    EXPECT_FALSE(shared::BackgroundMayRun());
    {
      const shared::TModalScope inner;
      EXPECT_EQ(shared::TModalScope::Depth(), 2);
    }
    EXPECT_FALSE(shared::BackgroundMayRun());
    EXPECT_EQ(closed, 0);
  }
  EXPECT_TRUE(shared::BackgroundMayRun());
  EXPECT_EQ(closed, 1);
  QObject::disconnect(connection);
}

TEST(ModalScope, ModalWidgetShownWithoutScopeHoldsBackgroundToo) {
  QDialog dialog;
  bool seen = true;
  QTimer::singleShot(0, &dialog, [&] {
    seen = shared::BackgroundMayRun();
    dialog.reject();
  });
  dialog.exec();
  EXPECT_FALSE(seen);
  EXPECT_TRUE(shared::BackgroundMayRun());
}

// A menu holds a scope while it is shown, and the last scope's end is heard when it hides; a
// menu destroyed while shown lets its scope go too.
TEST(ModalScope, MenuHoldsAScopeWhileShown) {
  int closed = 0;
  const QMetaObject::Connection connection =
      QObject::connect(&shared::ModalScopes(), &shared::TModalScopeNotifier::AllClosed, [&] { ++closed; });
  {
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    shared::ScopeWhileShown(menu);
    EXPECT_TRUE(shared::BackgroundMayRun());
    menu.popup(QPoint(10, 10));
    EXPECT_EQ(shared::TModalScope::Depth(), 1);
    EXPECT_FALSE(shared::BackgroundMayRun());
    menu.hide();
    EXPECT_EQ(shared::TModalScope::Depth(), 0);
    EXPECT_EQ(closed, 1);
    menu.popup(QPoint(10, 10));
    EXPECT_EQ(shared::TModalScope::Depth(), 1);
  }
  EXPECT_EQ(shared::TModalScope::Depth(), 0);
  EXPECT_EQ(closed, 2);
  QObject::disconnect(connection);
}

}  // namespace
