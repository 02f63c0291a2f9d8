#pragma once

#include "ResultImporter.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QTableWidget;

namespace qrt::app
{

/// File > Import Results...: the first rows of a result file as a table, the role of every
/// column in a drop-down above it, how the file was read, and what an import would do (new,
/// already held, conflicting and bad draws), counted anew whenever a role changes. OK keeps
/// the importer as last run for the caller to merge.
class ImportPreview : public QDialog
{
    Q_OBJECT
public:
    /// @p roles, chosen for the last file whose columns were @p rolesColumns (joined by tabs),
    /// is used instead of the roles detected when this file has the same columns.
    ImportPreview(const QString &path, QByteArray bytes, const ref::LotteryShape &shape,
                  const ref::DrawList &held, const QString &rolesColumns,
                  const QList<domain::ColumnRole> &roles, QWidget *parent = nullptr);
    ~ImportPreview() override;

    /// The importer as the user left it, with its draws.
    domain::ResultImporter &importer() { return *m_importer; }
    /// The roles shown, one per column.
    QList<domain::ColumnRole> roles() const;
    /// The header's names, which say which layout the roles belong to.
    QStringList columns() const { return m_importer->layout().columns; }

private:
    domain::ImportChoices choices() const;
    void rerun(const domain::ImportChoices &choices);
    void fillTable();

    QString m_path;
    QByteArray m_bytes;
    ref::LotteryShape m_shape;
    const ref::DrawList &m_held;
    std::unique_ptr<domain::ResultImporter> m_importer;
    QLabel *m_layout = nullptr;
    QLabel *m_counts = nullptr;
    QComboBox *m_dayMonth = nullptr;
    QTableWidget *m_table = nullptr;
    QList<QComboBox *> m_roleBoxes;
};

} // namespace qrt::app
