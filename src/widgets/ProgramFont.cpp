#include "widgets/ProgramFont.h"

#include <QFontDatabase>
#include <QWidget>

namespace zelvan {

QFont ProgramFont()
{
    static const QString kName = QStringLiteral("Tahoma");
    QFont font(kName, 10);
    font.setBold(false);
    if (!QFontDatabase::families().contains(kName, Qt::CaseInsensitive)) {
        font.setFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
        font.setStyleHint(QFont::SansSerif);
    }
    return font;
}

void ApplyProgramFont(QWidget& window)
{
    const QFont program = ProgramFont();
    auto apply = [&program](QWidget& widget) {
        QFont font = widget.font();
        font.setFamily(program.family());
        font.setPointSize(program.pointSize());
        widget.setFont(font);
    };
    apply(window);
    for (QWidget* child : window.findChildren<QWidget*>())
        apply(*child);
}

} // namespace zelvan
