#include "ui/admin/AdminConsoleOpener.h"

#include "ui/admin/TForm5.h"
#include "ui/common/OpenInstance.h"
#include "ui/common/Prompts.h"

#include <QCryptographicHash>

#include <memory>

namespace {

// The password is kept as its SHA-256 digest, so the executable does not give it away.
bool isAdministratorPassword(const QString& entry)
{
    static const QByteArray digest =
        QByteArray::fromHex("e474235bb2b2bcff9e3e9f29abb860a49b136673de27afa9d215fabb9d0c9c2c");
    return QCryptographicHash::hash(entry.toUtf8(), QCryptographicHash::Sha256) == digest;
}

} // namespace

bool adminConsoleLogin()
{
    const QString entry = prompts().passwordBox(QStringLiteral("Admin Console Login"), QStringLiteral("Enter Password"));
    if (!isAdministratorPassword(entry))
        return false;
    prompts().message(QStringLiteral(
        "If your name isn't Torvin. Please don't use this feature! In this case please Select Close Button!"));
    return true;
}

void openAdminConsole(UpdaterState& state, QWidget* opener)
{
    const auto console = std::make_unique<TForm5>(state);
    const OpenInstance<TForm5> open(Form5, *console);
    console->fillFromState();
    if (opener)
        console->move(opener->pos() + QPoint(10, 10));
    console->exec();
}
