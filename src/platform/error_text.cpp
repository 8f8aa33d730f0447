#include "platform/error_text.h"

QString StandardErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}
