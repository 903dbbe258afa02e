#pragma once

#include <QScrollArea>

namespace furrow {

// A frameless vertical scroll area whose viewport shows the surface behind it, with a thin
// hair-coloured scroll bar and no horizontal scrolling.
class QuietScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit QuietScrollArea(QWidget *parent = nullptr);

    // Shows `content`, which keeps a transparent background so the surface shows through.
    void setContent(QWidget *content);
};

} // namespace furrow
