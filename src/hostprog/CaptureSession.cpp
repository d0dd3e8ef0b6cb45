#include "CaptureSession.h"

#include "CaptureFile.h"
#include "CommandLines.h"
#include "CaptureHost.h"
#include "LinkStatus.h"
#include "PathSlots.h"
#include "Prompts.h"

#include <utility>

const QString CaptureSession::title = QStringLiteral("     Doveza Ruzoradi");
const QString CaptureSession::fileDialogTitle = QStringLiteral("Captured Commands");
const QString CaptureSession::fileFilter = QStringLiteral("Qx410 Files (*.dat);;All Files (*.*)");
const QString CaptureSession::defaultSuffix = QStringLiteral("dat");

const QString CaptureSession::editorCaption = QStringLiteral("Doveza Ruzoradi");
const QString CaptureSession::warningCaption = QStringLiteral("Warning");
const QString CaptureSession::clearCaption = QStringLiteral("Clear List");
const QString CaptureSession::appendCaption = QStringLiteral("Append");

const QString CaptureSession::settingsChangedText
    = QStringLiteral("Velocity or resolution has been changed, use new settings?");
const QString CaptureSession::noSpeedLineText
    = QStringLiteral("You did not specify the resolution and speed at the beginning,specify it?");
const QString CaptureSession::anotherStatusText = QStringLiteral("Save another status string?");
const QString CaptureSession::clearText = QStringLiteral("Clear all program steps. Are you sure?");
const QString CaptureSession::reverseText = QStringLiteral("Are you sure you want to reverse the path?");
const QString CaptureSession::appendText = QStringLiteral("Append the commands at the end?");
const QString CaptureSession::cannotLoadText = QStringLiteral("Can not load file, please check what is wrong!");
const QString CaptureSession::cannotWriteText
    = QStringLiteral("Can not open file to write, if you did not quit saving please check what is wrong!");
const QString CaptureSession::quitText = QStringLiteral("Quit without saving data?");

CaptureSession::CaptureSession(PathSlots& paths, CaptureHost& host, Prompts& prompts,
                               std::function<void()> closed)
    : m_paths(paths)
    , m_host(host)
    , m_prompts(prompts)
    , m_closed(std::move(closed))
    , m_rememberedVelocity(host.velocitySetting())
    , m_rememberedResolution(host.resolutionSetting())
{
}

void CaptureSession::select(int row)
{
    m_selected = row >= 0 && row < count() ? row : -1;
}

bool CaptureSession::ask(const QString& text, const QString& caption)
{
    return m_prompts.message(text, caption, Prompts::Icon::Exclamation, Prompts::Buttons::YesNo)
        == Prompts::Answer::Yes;
}

void CaptureSession::insertAt(int row, const QString& line)
{
    m_lines.insert(row, line);
    if (m_selected >= row)
        ++m_selected; // the selection stays on its line
    m_countShown = true;
}

void CaptureSession::record(const QString& line)
{
    insertAt(m_selected >= 0 ? m_selected : count(), line);
}

QString& CaptureSession::pathFile()
{
    return m_paths.selectedPathFile();
}

static_assert(CommandLines::statusCount == StatusBlock::count, "a Status line holds the whole status block");

namespace {

QString text(const std::string& line)
{
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

} // namespace

QString CaptureSession::speedLine() const
{
    constexpr CommandLines::Writer editor = CommandLines::Writer::Editor;
    return text(m_host.highResolutionChosen() ? CommandLines::high(editor, m_host.velocitySetting())
                                              : CommandLines::low(editor, m_host.velocitySetting()));
}

QString CaptureSession::moveLine(const Position& microns)
{
    return text(CommandLines::move(microns.x, microns.y, microns.z));
}

QString CaptureSession::pauseLine()
{
    return text(CommandLines::pause(CommandLines::Writer::Editor));
}

QString CaptureSession::statusLine(const StatusNumbers& numbers)
{
    return text(CommandLines::status(numbers));
}

bool CaptureSession::isSpeedLine(const QString& line)
{
    return line.startsWith(QLatin1String("Low")) || line.startsWith(QLatin1String("High"));
}

QStringList CaptureSession::reversed(const QStringList& lines)
{
    QStringList work(lines.crbegin(), lines.crend());
    qsizetype mark = 0;
    for (qsizetype k = 0; k < work.size(); ++k) {
        if (isSpeedLine(work.at(k))) {
            work.move(k, mark);
            mark = k + 1;
        }
    }
    return work;
}

void CaptureSession::position()
{
    // An absolute move is awaiting its completion byte (its wait lets this
    // dialog's buttons through): no second exchange goes on the line.
    if (m_host.isBusy())
        return;
    if (m_host.getPosition() == LinkStatus::Failed)
        return; // the program is ending

    if (m_host.velocitySetting() != m_rememberedVelocity || m_host.resolutionSetting() != m_rememberedResolution) {
        m_rememberedVelocity = m_host.velocitySetting();
        m_rememberedResolution = m_host.resolutionSetting();
        if (ask(settingsChangedText, editorCaption))
            record(speedLine());
    }

    if (m_speedCheck) {
        if (count() > 0 && isSpeedLine(m_lines.first())) {
            m_speedCheck = false;
        } else if (ask(noSpeedLineText, warningCaption)) {
            insertAt(0, speedLine()); // always at the top; the next Position clears the check
        } else {
            m_speedCheck = false;
        }
    }

    record(moveLine(m_host.displayedPosition()));
    m_lastWasPause = false;
    m_saved = false;
}

void CaptureSession::speedRes()
{
    record(speedLine());
    m_lastWasPause = false;
    m_saved = false;
}

void CaptureSession::pause()
{
    if (m_lastWasPause)
        return;
    record(pauseLine());
    m_lastWasPause = true;
    m_saved = false;
}

void CaptureSession::parameters()
{
    if (m_host.isBusy())
        return; // as for Position: a move is awaiting the controller
    StatusNumbers numbers{};
    const LinkStatus status = m_host.queryStatus(&numbers);
    if (status == LinkStatus::Failed)
        return; // the program is ending
    // Without a reply (the operator reset communication) there is no status
    // block to record.
    if (status == LinkStatus::Ok && (m_rememberedStatus != numbers || ask(anotherStatusText, editorCaption))) {
        record(statusLine(numbers));
        m_rememberedStatus = numbers;
    }
    m_lastWasPause = false;
    m_saved = false;
}

void CaptureSession::deleteItem()
{
    if (m_lines.isEmpty()) {
        m_loaded = false;
        return;
    }
    m_loaded = true;
    m_lines.removeAt(m_selected >= 0 ? m_selected : count() - 1);
    m_selected = -1;
    if (m_lines.isEmpty()) {
        m_countShown = false;
        m_saved = true;
        m_speedCheck = true;
        return;
    }
    m_countShown = true;
    m_saved = false;
    m_lastWasPause = m_lines.last().startsWith(QLatin1String("Pause"));
}

void CaptureSession::clearList()
{
    if (m_lines.isEmpty())
        return;
    if (!ask(clearText, clearCaption))
        return;
    m_lines.clear();
    m_selected = -1;
    m_loaded = false;
    m_countShown = false;
    m_speedCheck = true;
}

void CaptureSession::reversePath()
{
    if (!ask(reverseText, warningCaption))
        return;
    m_lines = reversed(m_lines);
    m_selected = -1; // the list box is filled anew
}

void CaptureSession::loadFile()
{
    const QString name = m_prompts.openFileName(fileDialogTitle, fileFilter);
    if (name.isEmpty())
        return;
    if (m_loaded
        && m_prompts.message(appendText, appendCaption, Prompts::Icon::None, Prompts::Buttons::YesNo)
            != Prompts::Answer::Yes) {
        m_countShown = true;
        m_saved = false;
        return;
    }
    QStringList read;
    if (CaptureFile::read(name, &read) == CaptureFile::ReadResult::Read) {
        pathFile() = name;
        m_lines += read;
    } else {
        m_prompts.message(cannotLoadText, warningCaption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    }
    m_loaded = true;
    m_countShown = true;
    m_saved = false;
}

void CaptureSession::saveFile()
{
    if ((m_lines.isEmpty() || !isSpeedLine(m_lines.first())) && ask(noSpeedLineText, warningCaption))
        return; // the operator adds the speed line first
    const QString name = m_prompts.saveFileName(fileDialogTitle, fileFilter, defaultSuffix);
    const CaptureFile::WriteResult result = CaptureFile::write(name, m_lines);
    if (result != CaptureFile::WriteResult::CannotOpen)
        pathFile() = name;
    if (result != CaptureFile::WriteResult::Written) {
        // Nothing (or not everything) reached the file: the saved flag keeps
        // its value, so unsaved lines still lead to the question on Exit.
        m_prompts.message(cannotWriteText, warningCaption, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    m_saved = true;
}

bool CaptureSession::exit()
{
    if (count() != 0 && !m_saved && !ask(quitText, editorCaption))
        return false;
    if (m_closed) {
        const std::function<void()> closed = std::move(m_closed);
        m_closed = nullptr;
        closed();
    }
    return true;
}
