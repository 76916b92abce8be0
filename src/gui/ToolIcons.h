// Small drawn icons for the tool buttons that have no standard icon of the style.
#pragma once

#include <QIcon>
#include <QString>

// Icon for a tool by its key ("line", "polyline", "rect", ...); a null icon for unknown keys.
QIcon toolIcon(const QString& key);
