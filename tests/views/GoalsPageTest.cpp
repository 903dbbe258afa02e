#include "views/goals/GoalsPage.h"
#include "Rendering.h"
#include "ViewTestSupport.h"
#include "model/TextUnits.h"
#include "model/UserDefaults.h"
#include "model/VectorStore.h"
#include "views/goals/GoalCard.h"
#include "views/goals/GoalsEditor.h"
#include "views/widgets/LimitedLineEdit.h"
#include "views/widgets/PillButton.h"

#include <QClipboard>

using namespace furrow;

namespace {

// The goals page over a goals store that starts from empty defaults.
class GoalsPageTest : public testing::Test
{
protected:
    GoalsPageTest()
    {
        auto defaults = UserDefaults::open();
        for (const QString &key : defaults->allKeys()) {
            if (key.startsWith(QLatin1String("vectors.")))
                defaults->remove(key);
        }
        store = std::make_unique<VectorStore>();
    }

    void open()
    {
        page = new GoalsPage(*store, &window);
        window.resize(760, 640);
        page->setGeometry(window.rect());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    PillButton *button(const QString &title) const
    {
        for (auto *pill : page->findChildren<PillButton *>()) {
            if (pill->text() == title && pill->isVisibleTo(page))
                return pill;
        }
        return nullptr;
    }

    QStringList cardNames() const
    {
        return textsOf(page->cards(), [](const GoalCard *card) { return card->name(); });
    }

    std::unique_ptr<VectorStore> store;
    QWidget window;
    GoalsPage *page = nullptr;
};

} // namespace

TEST_F(GoalsPageTest, invitation_becomesOneCardAfterSavingOneGoal)
{
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(page->state(), GoalsPage::State::Invitation);

    QTest::mouseClick(button(QStringLiteral("Set goals")), Qt::LeftButton);
    ASSERT_EQ(page->state(), GoalsPage::State::Editor);
    GoalsEditor *editor = page->findChild<GoalsEditor *>(u"goalsEditor"_s);
    QTest::keyClicks(editor->nameField(1), QStringLiteral("Ship the beta"));
    QTest::keyClicks(editor->statementField(1), QStringLiteral("Real people, real data"));
    QTest::mouseClick(editor->findChild<PillButton *>(u"doneButton"_s), Qt::LeftButton);

    EXPECT_EQ(page->state(), GoalsPage::State::Cards);
    EXPECT_EQ(cardNames(), QStringList({"Ship the beta"}));
    EXPECT_EQ(page->cards().front()->statement(), QStringLiteral("Real people, real data"));
    EXPECT_EQ(store->vectors()[1].name, QStringLiteral("Ship the beta"));

    // With one goal set, the editor still offers all three slots.
    QTest::mouseClick(button(QStringLiteral("Edit goals")), Qt::LeftButton);
    ASSERT_NE(page->findChild<GoalsEditor *>(u"goalsEditor"_s), nullptr);
    EXPECT_EQ(page->findChild<GoalsEditor *>(u"goalsEditor"_s)->nameField(0)->text(), QString());
    EXPECT_EQ(page->findChild<GoalsEditor *>(u"goalsEditor"_s)->nameField(1)->text(),
              QStringLiteral("Ship the beta"));
    EXPECT_EQ(page->findChild<GoalsEditor *>(u"goalsEditor"_s)->nameField(2)->text(), QString());
}

TEST_F(GoalsPageTest, fields_keepTheirFirstCharactersWhenTypingOrPastingPastTheLimit)
{
    ASSERT_NO_FATAL_FAILURE(open());
    page->beginEditing();
    GoalsEditor *editor = page->findChild<GoalsEditor *>(u"goalsEditor"_s);

    QTest::keyClicks(editor->nameField(0), QString(30, u'n'));
    EXPECT_EQ(editor->nameField(0)->text(), QString(24, u'n'));

    // Characters as the user sees them: an e with a combining accent counts once.
    const QString accented = QStringLiteral("e\u0301");
    QApplication::clipboard()->setText(accented.repeated(30));
    editor->nameField(1)->setFocus();
    QTest::keyClick(editor->nameField(1), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->nameField(1)->text(), accented.repeated(24));

    QApplication::clipboard()->setText(QString(200, u's'));
    editor->statementField(2)->setFocus();
    QTest::keyClick(editor->statementField(2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->statementField(2)->text(), QString(120, u's'));

    QTest::keyClick(editor->statementField(2), Qt::Key_Return);
    EXPECT_EQ(page->state(), GoalsPage::State::Cards);
    EXPECT_EQ(store->vectors()[0].name, QString(24, u'n'));
    EXPECT_EQ(TextUnits::characterCount(store->vectors()[1].name), 24);
}

TEST_F(GoalsPageTest, cancel_leavesTheCardsAndTheStoreAsBefore)
{
    store->set(QStringLiteral("Health"), QStringLiteral("Move every day"), 0);
    store->set(QStringLiteral("Craft"), QString(), 2);
    ASSERT_NO_FATAL_FAILURE(open());
    const auto before = store->vectors();
    ASSERT_EQ(cardNames(), QStringList({"Health", "Craft"}));

    for (const bool byEscape : {false, true}) {
        page->beginEditing();
        GoalsEditor *editor = page->findChild<GoalsEditor *>(u"goalsEditor"_s);
        editor->nameField(0)->setText(QStringLiteral("Changed"));
        editor->nameField(1)->setText(QStringLiteral("Added"));
        if (byEscape)
            QTest::keyClick(editor->nameField(0), Qt::Key_Escape);
        else
            QTest::mouseClick(editor->findChild<PillButton *>(u"cancelButton"_s), Qt::LeftButton);
        EXPECT_EQ(page->state(), GoalsPage::State::Cards);
        EXPECT_EQ(cardNames(), QStringList({"Health", "Craft"}));
        EXPECT_EQ(store->vectors(), before);
    }
}

// Not a check: leaves renderings/goals-invitation.png, goals-cards.png and goals-editor.png.
TEST_F(GoalsPageTest, rendersItsThreeStates)
{
    ASSERT_NO_FATAL_FAILURE(open());
    window.setAutoFillBackground(true);
    saveRendering(&window, QStringLiteral("goals-invitation"));
    store->set(QStringLiteral("Ship the beta"),
               QStringLiteral("Real people using it every day by the end of June."), 0);
    store->set(QStringLiteral("Strong and rested"),
               QStringLiteral("Three runs a week, in bed by eleven."), 1);
    store->set(QStringLiteral("Read more"), QStringLiteral("A book a month, on paper."), 2);
    saveRendering(&window, QStringLiteral("goals-cards"));
    page->beginEditing();
    saveRendering(&window, QStringLiteral("goals-editor"));
}
