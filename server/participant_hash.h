#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

// Participants are recognised by a keyed hash of Uid + name, so that a new
// upload of the same user replaces the old one while neither name nor Uid is
// kept. The key is a secret of the server, made on first start.

// Reads the secret from `dataDir`/secret, creating the directory (0700) and
// the file (0600, 32 random bytes as hex) when they are missing. Nothing when
// it cannot be read or made; `error` then says why.
std::optional<QByteArray> LoadOrCreateSecret(const QString& dataDir, std::string* error = nullptr);

// Hex HMAC-SHA256 of uid, a line break and name under the secret.
std::string ParticipantHash(const QByteArray& secret, std::string_view uid, std::string_view name);

// What the database records of the secret, so that servers sharing one
// database can tell that they hash alike without the secret leaving them.
std::string SecretFingerprint(const QByteArray& secret);
