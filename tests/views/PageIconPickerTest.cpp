#include "views/pickers/PageIconPicker.h"
#include "QtPrinters.h"
#include "Rendering.h"
#include "views/menus/MenuController.h"
#include "views/pickers/IconCell.h"
#include "views/theme/PageIcons.h"
#include "views/theme/Theme.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace furrow;

struct SearchCase
{
    const char *name;
    const char *query;
    QStringList expected;
};

class PageIconSearch : public testing::TestWithParam<SearchCase>
{
};

TEST_P(PageIconSearch, findsNamesContainingTheQuery)
{
    EXPECT_EQ(PageIcons::search(QString::fromUtf8(GetParam().query)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    PageIcons, PageIconSearch,
    testing::Values(SearchCase{"wordsJoinedByHyphen", "chart bar", {"chart-bar"}},
                    SearchCase{
                        "partOfAName", "dollar", {"currency-dollar", "currency-circle-dollar"}},
                    SearchCase{"capitalLetter", "Folder", {"folder", "folder-open"}},
                    SearchCase{"surroundingSpaces", "  folder ", {"folder", "folder-open"}},
                    SearchCase{"noMatch", "zebra", {}}),
    [](const testing::TestParamInfo<SearchCase> &info) { return std::string(info.param.name); });

TEST(PageIcons, blankQuery_findsTheWholeCatalogueInGroupOrder)
{
    EXPECT_EQ(PageIcons::search(QStringLiteral(" \t")), PageIcons::all());
    QStringList names;
    for (const auto &group : PageIcons::groups())
        names.append(group.name);
    EXPECT_EQ(names, QStringList({"Work", "People", "Tech", "Design", "Media", "Life", "Travel",
                                  "Money", "Symbols"}));
    EXPECT_EQ(PageIcons::all().front(), QStringLiteral("briefcase"));
    EXPECT_EQ(PageIcons::all().back(), QStringLiteral("skull"));
}

namespace {

QStringList namesOf(const QList<IconCell *> &cells)
{
    QStringList names;
    for (const IconCell *cell : cells)
        names.append(cell->name());
    return names;
}

} // namespace

TEST(PageIconPicker, typingFilters_andClearingRestoresTheCatalogue)
{
    PageIconPicker picker(QStringLiteral("folder"));
    picker.show();
    EXPECT_FALSE(picker.isSearching());
    EXPECT_EQ(picker.visibleCells().size(), 168);

    QTest::keyClicks(picker.searchField(), QStringLiteral("Folder"));
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
    QTest::keyClick(picker.searchField(), Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), picker.visibleCells().front());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(picked.size(), 2);
    EXPECT_EQ(picked[0][0].toString(), QStringLiteral("rocket"));
    EXPECT_EQ(picked[1][0].toString(), PageIcons::search(QStringLiteral("cat")).front());
}

TEST(PageIconPicker, iconOutsideTheCatalogue_selectsNoCell)
{
    PageIconPicker picker(QStringLiteral("imported-name"));
    const auto cells = picker.visibleCells();
    EXPECT_TRUE(std::none_of(cells.begin(), cells.end(), [](auto *c) { return c->isSelected(); }));
}

// Not a check: leaves renderings/icon-picker.png and icon-search.png for people to review.
TEST(PageIconPicker, rendersInAPopup)
{
    QWidget window;
    window.resize(400, 460);
    window.setAutoFillBackground(true);
    MenuController menus(&window);
    window.show();
    auto *picker = new PageIconPicker(QStringLiteral("tray"));
    menus.show(356, QRect(360, 8, 24, 24), picker);
    saveRendering(&window, QStringLiteral("icon-picker"));
    picker->setQuery(QStringLiteral("ch"));
    saveRendering(&window, QStringLiteral("icon-search"));
}

TEST(PageIconPicker, escapeInTheSearchField_closesThePopup)
{
    QWidget window;
    window.resize(400, 460);
    MenuController menus(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *picker = new PageIconPicker(QStringLiteral("tray"));
    menus.show(356, QRect(360, 8, 24, 24), picker);
    ASSERT_TRUE(picker->searchField()->hasFocus());
    QTest::keyClick(picker->searchField(), Qt::Key_Escape);
    EXPECT_FALSE(menus.isOpen());
}
