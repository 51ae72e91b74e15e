#include "widgets/HelpPage.h"

#include <QFile>

#include "iban/ConversionHint.h"

// A resource compiled into a static library is registered by hand, once: nothing else links it in.
static void registerHelpResource()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(hilfe);
        return true;
    }();
    (void)registered;
}

namespace zelvan {

namespace {

// The page shipped as a Qt resource, and the mark in it where the hint sections go.
constexpr const char* kHelpResource = ":/hilfe/hilfe.html";
constexpr const char* kHintsMark = "<!--HINWEISE-->";

QString escaped(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

// One section per hint, numbers and texts straight from the hint table. A text that takes a
// rule code or a BIC ends in "…" where the detail would stand.
QString hintSections()
{
    QString html;
    // The hint table does not compile while a hint lacks its advice: this covers every hint.
    for (const HintAdvice& advice : hintAdvice()) {
        const std::string_view text = ConversionHintText(advice.number);
        QString title = escaped(text).trimmed();
        if (text.ends_with(": "))
            title += QStringLiteral(" …");
        html += QStringLiteral("<h3><a name=\"%1\">%2</a></h3>\n<p><b>Bedeutung:</b> %3</p>\n"
                               "<p><b>Was tun:</b> %4</p>\n")
                    .arg(hintAnchor(static_cast<long long>(advice.number)), title, escaped(advice.meaning),
                         escaped(advice.advice));
    }
    return html;
}

} // namespace

QString hintAnchor(long long number)
{
    return QStringLiteral("hinweis-%1").arg(number);
}

QString helpPageHtml()
{
    registerHelpResource();
    QFile file(QString::fromUtf8(kHelpResource));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<p>Die Hilfe fehlt in diesem Programm.</p>") + hintSections();
    QString html = QString::fromUtf8(file.readAll());
    html.replace(QString::fromUtf8(kHintsMark), hintSections());
    return html;
}

} // namespace zelvan
