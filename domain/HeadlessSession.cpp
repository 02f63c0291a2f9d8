#include "HeadlessSession.h"
#include "LotteryFolder.h"
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

namespace qrt::domain
{

HeadlessSession::HeadlessSession(const QString &dataFolder, const ref::LotteryShape &shape)
    : m_folder(dataFolder), m_store(std::make_unique<ref::SqliteStore>(m_folder.storePath())),
      m_lottery(std::make_unique<ref::Lottery>(shape))
{
    // The window opens next on the lottery the command line worked on.
    m_store->setRecord(DataFolder::currentLotteryRecord(), shape.key());
    m_folder.prepare(*m_store, shape);
    m_lotteryFolder = std::make_unique<LotteryFolder>(m_folder.lotteryFolder(shape), *m_store,
                                                      shape, DataFolder::applicationName(),
                                                      [this] { return m_folder.checkLock(); });
    m_notes = m_lotteryFolder->open(*m_lottery);
    m_commands = std::make_unique<LotteryCommands>(*m_lottery, *m_lotteryFolder, *m_store);
}

HeadlessSession::~HeadlessSession() = default;

LotteryCommands::Keep HeadlessSession::save()
{
    return [this](ref::DrawList draws, const QString &source, QTextStream &err) {
        return m_commands->saveAlone(std::move(draws), source, err);
    };
}

} // namespace qrt::domain
