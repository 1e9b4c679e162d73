// The main window as the pages' host: the start window's progress bar through the
// context, the active form, and status button 10 with the page chooser.
#include "AppFixture.h"
#include "pages/common/frmANZEIGEN.h"
#include "pages/common/PageForm.h"
#include <QApplication>
#include <QMouseEvent>

TEST_F(AppFixture, PagesReachTheStartWindowAndTheChooser)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    PageHost& host = *main;
    host.context().progress(73.4f);
    EXPECT_EQ(main->AUTOSTART().pgbBERECHNEN->value(), 73);
    // The start window is active: no page, and a page's Form_Activate would find none.
    EXPECT_EQ(host.ActiveForm(), &main->AUTOSTART());
    EXPECT_EQ(dynamic_cast<PageForm*>(host.ActiveForm()), nullptr);

    // Button 10 shows the chooser, owned by the main window, with no page to choose.
    StatusPanel& show = main->stbMAIN->Panels(10);
    show.SetVisible(true);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), show.mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), show.mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&show, &press);
    QApplication::sendEvent(&show, &release);
    auto* chooser = main->findChild<frmANZEIGEN*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->lblSEITEN[1]->text(), QStringLiteral("0"));
    EXPECT_TRUE(main->Forms().contains(chooser));
    // Unloading the forms at the end takes the chooser along, without a question.
    main->mnuBEENDEN_Click();
    EXPECT_TRUE(Boxes().empty());
}
