#pragma once

#include "DataFolder.h"
#include "LotteryCommands.h"

#include <QStringList>

#include <memory>

namespace qrt::ref
{
class Lottery;
class SqliteStore;
struct LotteryShape;
} // namespace qrt::ref

namespace qrt::domain
{

class LotteryFolder;

/// One lottery's folder opened for the command line, with no window and no display: the data
/// folder locked, its store, the lottery made the current one and its draws loaded, what was
/// put right on the way in notes(). New draws are saved by the folder itself.
class HeadlessSession
{
public:
    /// Throws RuntimeError, with what the user must be told, when the data folder or its store
    /// cannot be used.
    HeadlessSession(const QString &dataFolder, const ref::LotteryShape &shape);
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession &) = delete;
    HeadlessSession &operator=(const HeadlessSession &) = delete;

    const QStringList &notes() const { return m_notes; }
    ref::Lottery &lottery() { return *m_lottery; }
    LotteryCommands &commands() { return *m_commands; }
    /// The folder's own save, as LotteryCommands takes it.
    LotteryCommands::Keep save();

private:
    DataFolder m_folder;
    std::unique_ptr<ref::SqliteStore> m_store;
    std::unique_ptr<ref::Lottery> m_lottery;
    std::unique_ptr<LotteryFolder> m_lotteryFolder;
    std::unique_ptr<LotteryCommands> m_commands;
    QStringList m_notes;
};

} // namespace qrt::domain
