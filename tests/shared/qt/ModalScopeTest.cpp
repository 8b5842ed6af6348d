// Background work waits while any modal scope or modal widget is open and hears when all close.
#include <gtest/gtest.h>

#include <QDialog>
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

}  // namespace
