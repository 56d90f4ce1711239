#include "Icon.h"

#include <QPixmap>

#include "RadioInfoIcon.xpm"

QIcon ApplicationIcon() {
    return QIcon(QPixmap(RadioInfoIconXpm));
}
