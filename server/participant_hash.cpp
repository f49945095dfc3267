#include "server/participant_hash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cstdint>

namespace {

constexpr int kSecretBytes = 32;

bool Fail(std::string* error, const QString& text) {
    if (error)
        *error = text.toStdString();
    return false;
}

bool MakeSecretFile(const QString& path, std::string* error) {
    QByteArray raw(kSecretBytes, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<uint32_t*>(raw.data()),
                                          kSecretBytes / 4);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return Fail(error, "cannot create " + path + ": " + file.errorString());
    file.write(raw.toHex() + '\n');
    if (!file.commit())
        return Fail(error, "cannot write " + path + ": " + file.errorString());
    return true;
}

} // namespace

std::optional<QByteArray> LoadOrCreateSecret(const QString& dataDir, std::string* error) {
    QDir dir(dataDir);
    if (!dir.exists()) {
        if (!QDir().mkpath(dataDir)) {
            Fail(error, "cannot create the data directory " + dataDir);
            return std::nullopt;
        }
        QFile::setPermissions(dataDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
    }
    const QString path = dir.filePath(QStringLiteral("secret"));
    if (!QFileInfo::exists(path) && !MakeSecretFile(path, error))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, "cannot read " + path + ": " + file.errorString());
        return std::nullopt;
    }
    const QByteArray secret = QByteArray::fromHex(file.read(4 * kSecretBytes).trimmed());
    if (secret.size() < 16) {
        Fail(error, path + " holds no secret (expected " + QString::number(kSecretBytes) +
                        " bytes as hex)");
        return std::nullopt;
    }
    return secret;
}

std::string ParticipantHash(const QByteArray& secret, std::string_view uid, std::string_view name) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, secret);
    mac.addData(uid.data(), qsizetype(uid.size()));
    // A line break cannot be part of a Uid or a name; without it Uid "12" and
    // name "3x" would hash like Uid "123" and name "x".
    mac.addData("\n", 1);
    mac.addData(name.data(), qsizetype(name.size()));
    return mac.result().toHex().toStdString();
}

std::string SecretFingerprint(const QByteArray& secret) {
    return ParticipantHash(secret, "zenx-exchange secret check", {});
}
