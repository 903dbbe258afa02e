#pragma once

#include "model/PlannerStore.h"
#include "model/UserDefaults.h"
#include "shell/capture/CaptureChip.h"

#include <QLineEdit>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

namespace furrow::test {

// An in-memory planner with no remembered capture project, and ways to read the capture
// panel's widgets by their object names.
class CaptureFixture : public ::testing::Test
{
protected:
    CaptureFixture() { UserDefaults::open()->remove(QStringLiteral("capture.lastProject")); }

    static QLineEdit *field(const QWidget *view)
    {
        return view->findChild<QLineEdit *>(QStringLiteral("captureField"));
    }

    // The chips on show, left to right: the bar adds them in that order, and hides replaced ones
    // until they are deleted.
    static std::vector<CaptureChip *> chips(const QWidget *view)
    {
        std::vector<CaptureChip *> result;
        for (CaptureChip *chip : view->findChildren<CaptureChip *>(QStringLiteral("captureChip"))) {
            if (!chip->isHidden())
                result.push_back(chip);
        }
        return result;
    }

    static QStringList chipNames(const QWidget *view)
    {
        QStringList names;
        for (const CaptureChip *chip : chips(view))
            names << chip->text();
        return names;
    }

    // The label of the selected chip; empty when none is selected.
    static QString selectedChip(const QWidget *view)
    {
        for (const CaptureChip *chip : chips(view)) {
            if (chip->isChecked())
                return chip->text();
        }
        return {};
    }

    static CaptureChip *chipNamed(const QWidget *view, const QString &name)
    {
        for (CaptureChip *chip : chips(view)) {
            if (chip->text() == name)
                return chip;
        }
        return nullptr;
    }

    static QVariant rememberedProject()
    {
        return UserDefaults::open()->value(QStringLiteral("capture.lastProject"));
    }

    ModelContext context;
    PlannerStore store{context};
};

} // namespace furrow::test
