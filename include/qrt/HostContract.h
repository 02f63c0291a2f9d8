#pragma once

/// @file
/// What the control asks of the host's objects. Every member is reached by its exact name
/// (see qrt::callByName): a read is a Q_PROPERTY of that name or an invokable taking no
/// argument; a call is an invokable with exactly the listed number of parameters. Arguments
/// travel with the wire types given here (qint16, qint32, QString, bool, QObject *); a
/// QVariant parameter receives them as sent. A host reports a failure by throwing
/// qrt::RuntimeError from the member.
///
/// @code{.unparsed}
/// Lottery object, handed over with AppManager::InitData:
///   TotalNumber            read   count of basic numbers per draw, converts to qint32
///   HasSpecial             read   equals True (bool true or -1) exactly when draws have a bonus
///   MiniNumber, MaxNumber  read   smallest and largest allowed number, convert to qint32
///   Count                  read   number of draws, converts to qint32
///   Item(qint32 i)         call   draw i, 1 to Count, as an object with the three members below
///     GetIssue()           call   the issue, convertible to text
///     GetNumber(qint32 j)  call   basic number j, 1 to TotalNumber, convertible to text
///     GetSpecial()         call   the bonus number, convertible to text
///   ReadData(QString path) call   replaces the draws with those of the user data file; the
///                                 result converts to qint32 and is not used
///   StartItem, EndItem     write  first and last draw of the host's current range: StartItem
///                                 gets qint16 1, EndItem the value that Count returned
///
/// A second drum, optional, read only while HasSpecial equals True. A member the object lacks
/// (error 438 from the lookup, or thrown by the member) means the one-drum lottery, whose
/// behaviour is then exactly the one described above:
///   SpecialCount           read   bonus numbers per draw, 1 or 2 (else error 380); absent: 1
///   SpecialMiniNumber,     read   the bonus drum's bounds, both or neither. Present: each bonus
///   SpecialMaxNumber              is checked against them (messages 24/25, column by column),
///                                 may equal a basic number, and repeats are looked for among
///                                 the basic numbers, then among the bonus numbers (26 on the
///                                 later one); a bound that fails makes the bonus range tests
///                                 fail. Absent: the bonus numbers come from the basic drum and
///                                 every number of a draw is distinct
///   Item(i).GetSpecialAt(qint32 k)  call  bonus number k = 2 (bonus 1 stays GetSpecial)
/// The grid has one bonus column per bonus number, headed "Bonus" and "Bonus 2".
///
/// Draw collection, created by name as "QRTLottery.Lotterys" for each save:
///   AddItem(QObject *draw)            appends a draw object, in grid row order
///   SaveData(QString path)            writes every added draw to path; result converts to qint32
///   SaveData(QString path, bool true) writes the same draws to the host's last-read file
///
/// Draw object, created by name as "QRTLottery.Lottery" for each saved row; calls in this order:
///   SetIssue(QString), SetNumber(qint32 j, qint32 value) for j = 1..TotalNumber,
///   OrderNumbers(), SetSpecial(qint32) only when HasSpecial equals True, then
///   SetSpecialAt(qint32 k, qint32 value) with k = 2 when SpecialCount is 2.
///
/// System store, handed over with AppManager::SetSystemStore. A record is addressed by six
/// values: qint16 0, the key, a third value, qint16 0, qint16 0, and a sixth value that is
/// qint16 0 in a query and the content when a record is added or edited.
///   QueryRecord(6 values)  call   selects the records with that address
///   GetRSSize              read   number of records selected by the last query
///   GetRSContent           read   content of the selected record, convertible to text
///   AddRecord(6 values)    call   creates the record
///   EditRecord(6 values)   call   replaces the content of the existing record
/// Records: "QRTManagerCaption" (third value qint16 0): the application name under which the
/// per-user setting Path/Path is kept; "LastReadFile" (third value "0"): path of the file the
/// host last read draws from; "LastDataPath" (third value "0"): folder last chosen in the
/// Edit Text File dialog, without a trailing separator.
/// @endcode

namespace qrt::host
{

/// The class name a save creates its draw collection by.
inline constexpr char kLotterysClass[] = "QRTLottery.Lotterys";
/// The class name a save creates each draw object by.
inline constexpr char kLotteryClass[] = "QRTLottery.Lottery";

/// The store record naming the application whose "Path"/"Path" setting is the save folder.
inline constexpr char kRecordCaption[] = "QRTManagerCaption";
/// The store record holding the file the host last read draws from.
inline constexpr char kRecordLastReadFile[] = "LastReadFile";
/// The store record holding the folder last chosen in the Edit Text File dialog.
inline constexpr char kRecordLastDataPath[] = "LastDataPath";

} // namespace qrt::host
