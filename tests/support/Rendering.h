#pragma once

#include <QString>

class QWidget;

// Saves a crisp (2×) rendering of a widget on the paper background to the build folder's
// "renderings" folder, for people to review; returns the file's path.
QString saveRendering(QWidget *widget, const QString &name);
