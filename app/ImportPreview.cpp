#include "ImportPreview.h"
#include "RecordReader.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qrt::app
{

namespace
{
constexpr int kPreviewRows = 20;
const domain::ColumnRole kRoles[] = {domain::ColumnRole::Issue, domain::ColumnRole::Date,
                                     domain::ColumnRole::Numbers, domain::ColumnRole::Bonus,
                                     domain::ColumnRole::Ignored};
} // namespace

ImportPreview::ImportPreview(const QString &path, QByteArray bytes, const ref::LotteryShape &shape,
                             const ref::DrawList &held, const QString &rolesColumns,
                             const QList<domain::ColumnRole> &roles, QWidget *parent)
    : QDialog(parent), m_path(path), m_bytes(std::move(bytes)), m_shape(shape), m_held(held)
{
    setWindowTitle(tr("Import Results"));
    auto *layout = new QVBoxLayout(this);
    m_layout = new QLabel;
    m_layout->setWordWrap(true);
    m_layout->setObjectName(QStringLiteral("importLayout"));
    layout->addWidget(m_layout);
    m_dayMonth = new QComboBox;
    m_dayMonth->setObjectName(QStringLiteral("dayMonth"));
    m_dayMonth->addItems({tr("Dates as found"), tr("Day before month"), tr("Month before day")});
    layout->addWidget(m_dayMonth);
    m_table = new QTableWidget;
    m_table->setObjectName(QStringLiteral("previewTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_table, 1);
    m_counts = new QLabel;
    m_counts->setObjectName(QStringLiteral("importCounts"));
    m_counts->setWordWrap(true);
    layout->addWidget(m_counts);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    domain::ImportChoices first;
    rerun(first);
    const domain::ImportLayout &found = m_importer->layout();
    if (found.columns.join(u'\t') == rolesColumns && roles.size() == found.columns.size() &&
        roles != found.roles)
        rerun({std::nullopt, roles});
    fillTable();
    connect(m_dayMonth, &QComboBox::currentIndexChanged, this, [this] { rerun(choices()); });
    resize(900, 560);
}

ImportPreview::~ImportPreview() = default;

QList<domain::ColumnRole> ImportPreview::roles() const
{
    QList<domain::ColumnRole> out;
    for (const QComboBox *box : m_roleBoxes)
        out << kRoles[box->currentIndex()];
    return out;
}

domain::ImportChoices ImportPreview::choices() const
{
    const int order = m_dayMonth->currentIndex();
    return {order == 0 ? std::nullopt : std::optional<bool>(order == 1), roles()};
}

void ImportPreview::rerun(const domain::ImportChoices &choices)
{
    m_importer = std::make_unique<domain::ResultImporter>(m_shape, choices);
    const ref::Status read = m_importer->read(m_bytes);
    const domain::ImportLayout &l = m_importer->layout();
    m_layout->setText(tr("%1 is read as %2.").arg(m_path, l.describe()));
    m_dayMonth->setVisible(l.dayMonth != domain::ImportLayout::DayMonth::NotNeeded);
    QPushButton *ok = findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    if (!read.ok()) {
        m_counts->setText(read.message());
        ok->setEnabled(false);
        return;
    }
    // The counts of a merge, on a copy: a merge hands the importer's draws over, and the held
    // draws change only when the user says OK.
    domain::ResultImporter probe = *m_importer;
    const domain::ResultImporter::Merge m = probe.mergeInto(m_held);
    QString text = probe.counts(m);
    if (probe.badCount() > 0)
        text += u'\n' + probe.describeBad(m_path, 5).join(u'\n');
    m_counts->setText(text);
    ok->setEnabled(m.conflictCount == 0 && m.added > 0);
}

void ImportPreview::fillTable()
{
    const domain::ImportLayout &l = m_importer->layout();
    const char separator = l.format == domain::ImportLayout::Format::TextDraws
                               ? domain::RecordReader::kTextDraws
                               : l.separator;
    domain::RecordReader records(m_bytes, separator);
    QList<QStringList> rows;
    while (rows.size() < kPreviewRows && records.next()) {
        if (records.blank() || records.line() == l.headerLine)
            continue;
        QStringList cells;
        for (const QByteArrayView &f : records.fields())
            cells << QString::fromUtf8(f.data(), f.size());
        rows << cells;
    }
    const int columns = int(l.columns.size());
    m_table->setColumnCount(columns);
    m_table->setRowCount(int(rows.size()) + 1);
    m_table->setHorizontalHeaderLabels(l.columns);
    // The first row holds a role for every column.
    for (int c = 0; c < columns; ++c) {
        auto *box = new QComboBox;
        for (const domain::ColumnRole role : kRoles)
            box->addItem(domain::roleName(role));
        box->setCurrentIndex(int(std::find(std::begin(kRoles), std::end(kRoles),
                                           l.roles.value(c, domain::ColumnRole::Ignored)) -
                                 std::begin(kRoles)));
        box->setAccessibleName(tr("Role of %1").arg(l.columns[c]));
        connect(box, &QComboBox::currentIndexChanged, this, [this] { rerun(choices()); });
        m_table->setCellWidget(0, c, box);
        m_roleBoxes << box;
    }
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < columns && c < rows[r].size(); ++c)
            m_table->setItem(r + 1, c, new QTableWidgetItem(rows[r][c]));
    m_table->resizeColumnsToContents();
}

} // namespace qrt::app
