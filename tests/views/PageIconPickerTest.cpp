#include "views/pickers/PageIconPicker.h"
#include "Rendering.h"
#include "ViewTestSupport.h"
#include "views/pickers/IconCell.h"
#include "views/theme/PageIcons.h"

#include <QLineEdit>
#include <QSignalSpy>

using namespace furrow;

TEST(PageIcons, search_findsNamesContainingTheTrimmedQueryInAnyCase_andBlankFindsAll)
{
    const std::pair<const char *, QStringList> cases[]
        = {{"chart bar", {"chart-bar"}},
           {"dollar", {"currency-dollar", "currency-circle-dollar"}},
           {"Folder", {"folder", "folder-open"}},
           {"  folder ", {"folder", "folder-open"}},
           {"zebra", {}}};
    for (const auto &[query, expected] : cases)
        EXPECT_EQ(PageIcons::search(QString::fromUtf8(query)), expected) << query;
    EXPECT_EQ(PageIcons::search(QStringLiteral(" \t")), PageIcons::all());
}

namespace {

QStringList namesOf(const QList<IconCell *> &cells)
{
    return textsOf(cells, [](const IconCell *cell) { return cell->name(); });
}

} // namespace

TEST(PageIconPicker,
     typingFilters_andClearingRestoresTheCatalogue_whereOnlyACatalogueIconIsSelected)
{
    PageIconPicker picker(QStringLiteral("folder"));
    picker.show();
    EXPECT_FALSE(picker.isSearching());
    EXPECT_EQ(picker.visibleCells().size(), 168);

    QTest::keyClicks(picker.findChild<QLineEdit *>(u"iconSearch"_s), QStringLiteral("Folder"));
    EXPECT_EQ(namesOf(picker.visibleCells()), QStringList({"folder", "folder-open"}));
    EXPECT_TRUE(picker.visibleCells().front()->isSelected());
    EXPECT_FALSE(picker.showsNothingFound());

    picker.setQuery(QStringLiteral("zebra"));
    EXPECT_TRUE(picker.visibleCells().isEmpty());
    EXPECT_TRUE(picker.showsNothingFound());

    picker.setQuery(QStringLiteral("   "));
    EXPECT_FALSE(picker.isSearching());
    EXPECT_EQ(picker.visibleCells().size(), 168);
    EXPECT_FALSE(picker.showsNothingFound());

    const PageIconPicker imported(QStringLiteral("imported-name"));
    const auto cells = imported.visibleCells();
    EXPECT_TRUE(std::none_of(cells.begin(), cells.end(), [](auto *c) { return c->isSelected(); }));
}

TEST(PageIconPicker, clickAndReturn_pickTheIcon)
{
    PageIconPicker picker(QStringLiteral("tray"));
    picker.show();
    picker.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
    QSignalSpy picked(&picker, &PageIconPicker::picked);
    picker.setQuery(QStringLiteral("rocket"));
    QTest::mouseClick(picker.visibleCells().front(), Qt::LeftButton);
    picker.setQuery(QStringLiteral("cat"));
    QTest::keyClick(picker.findChild<QLineEdit *>(u"iconSearch"_s), Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), picker.visibleCells().front());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // Return in the search field picks the first match, and nothing when nothing matches.
    picker.setQuery(QStringLiteral("zebra"));
    QTest::keyClick(picker.findChild<QLineEdit *>(u"iconSearch"_s), Qt::Key_Return);
    picker.setQuery(QStringLiteral("dollar"));
    QTest::keyClick(picker.findChild<QLineEdit *>(u"iconSearch"_s), Qt::Key_Return);
    ASSERT_EQ(picked.size(), 3);
    EXPECT_EQ(picked[0][0].toString(), QStringLiteral("rocket"));
    EXPECT_EQ(picked[1][0].toString(), PageIcons::search(QStringLiteral("cat")).front());
    EXPECT_EQ(picked[2][0].toString(), QStringLiteral("currency-dollar"));
}

// Leaves renderings/icon-picker.png and icon-search.png for people to review.
TEST(PageIconPicker, inAPopup_escapeInTheSearchFieldClosesIt)
{
    QWidget window;
    window.resize(400, 460);
    window.setAutoFillBackground(true);
    MenuController menus(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *picker = new PageIconPicker(QStringLiteral("tray"));
    menus.show(356, QRect(360, 8, 24, 24), picker);
    saveRendering(&window, QStringLiteral("icon-picker"));
    picker->setQuery(QStringLiteral("ch"));
    saveRendering(&window, QStringLiteral("icon-search"));
    ASSERT_TRUE(picker->findChild<QLineEdit *>(u"iconSearch"_s)->hasFocus());
    QTest::keyClick(picker->findChild<QLineEdit *>(u"iconSearch"_s), Qt::Key_Escape);
    EXPECT_FALSE(menus.isOpen());
}
