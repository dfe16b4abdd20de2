#pragma once

#include "support/RawValue.h"

#include <QObject>
#include <QString>

namespace lumeno {

// Its own namespace only because Qt's meta-object for the names is one per namespace.
namespace ProviderKindEnum {
Q_NAMESPACE
// The company whose model wrote a draft. The names (rawValue) are stored in settings and draft records.
enum class ProviderKind { anthropic, openai };
Q_ENUM_NS(ProviderKind)
} // namespace ProviderKindEnum
using ProviderKindEnum::ProviderKind;

QString displayName(ProviderKind provider);                               // "Anthropic", "OpenAI"

} // namespace lumeno
