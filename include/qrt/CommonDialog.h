#pragma once

#include <qrt/qrt_export.h>

#include <QObject>
#include <QString>
#include <functional>

namespace qrt
{

/// The Open dialog as a non-visual object: set the properties, call ShowOpen(), read
/// FileName (empty when the user cancelled).
class QRT_EXPORT CommonDialog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString DialogTitle READ DialogTitle WRITE setDialogTitle)
    Q_PROPERTY(QString Filter READ Filter WRITE setFilter)
    Q_PROPERTY(QString InitDir READ InitDir WRITE setInitDir)
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)

public:
    /// An Open dialog with no title, filter, folder or file yet.
    explicit CommonDialog(QObject *parent = nullptr);

    /// The dialog's window title.
    ///@{
    QString DialogTitle() const { return m_title; }
    void setDialogTitle(const QString &v) { m_title = v; }
    /// "description|pattern" pairs, each pair separated from the next by "|".
    ///@{
    QString Filter() const { return m_filter; }
    void setFilter(const QString &v) { m_filter = v; }
    /// The folder the dialog opens in; empty for the current one.
    ///@{
    QString InitDir() const { return m_initDir; }
    void setInitDir(const QString &v) { m_initDir = v; }
    /// The file chosen by the last ShowOpen(); empty when it was cancelled.
    ///@{
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &v) { m_fileName = v; }

    /// Shows the modal Open dialog (or calls the hook) and sets FileName.
    Q_INVOKABLE void ShowOpen();
    ///@}
    ///@}
    ///@}
    ///@}

    /// Replaces the dialog; the handler receives the dialog and sets FileName. An empty
    /// function restores the QFileDialog default.
    static void setShowOpenHandler(std::function<void(qrt::CommonDialog &)> handler);

    /// The filter converted to QFileDialog's "description (patterns);;..." form.
    static QString toQtFilter(const QString &filter);

private:
    QString m_title;
    QString m_filter;
    QString m_initDir;
    QString m_fileName;
};

} // namespace qrt
