#include "frmInfo.h"
#include "Twips.h"

#include <QLabel>

namespace qrt
{

frmInfo::frmInfo() : QWidget(nullptr, Qt::Window), m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("frmInfo"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Data Manager"));
    m_label->setObjectName(QStringLiteral("lblInfo"));
    QFont font = m_label->font();
    font.setPointSize(12);
    m_label->setFont(font);
    m_label->setGeometry(twipsToPixelsX(345, this), twipsToPixelsY(120, this),
                         twipsToPixelsX(3255, this), twipsToPixelsY(315, this));
    setFixedSize(twipsToPixelsX(3945, this), twipsToPixelsY(540, this));
}

frmInfo::~frmInfo() = default;

void frmInfo::setInfo(const QString &text, bool repaintNow)
{
    m_label->setText(text);
    if (repaintNow)
        m_label->repaint();
}

} // namespace qrt
