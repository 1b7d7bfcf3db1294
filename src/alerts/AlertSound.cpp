#include "alerts/AlertSound.h"

#include "alerts/AlertsLog.h"
#include "common/AppIdentity.h"

#include <alsa/asoundlib.h>
#include <canberra.h>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <utility>

namespace {
struct ProplistDeleter {
    void operator()(ca_proplist* properties) const { ca_proplist_destroy(properties); }
};
using Proplist = std::unique_ptr<ca_proplist, ProplistDeleter>;

Proplist makeProplist(std::initializer_list<std::pair<const char*, const char*>> entries) {
    ca_proplist* properties = nullptr;
    if (ca_proplist_create(&properties) != CA_SUCCESS) {
        return nullptr;
    }
    for (const auto& [key, value] : entries) {
        ca_proplist_sets(properties, key, value);
    }
    return Proplist(properties);
}

// ALSA, which libcanberra plays through, tells of a missing sound device on standard error unless
// told otherwise. The sound is optional, so what it says belongs in our own debug log.
__attribute__((format(printf, 5, 6))) void logAlsaError(const char*, int, const char* function, int error,
                                                        const char* format, ...) {
    char message[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    qCDebug(lcAlerts) << "ALSA:" << function << message << (error != 0 ? snd_strerror(error) : "");
}
} // namespace

AlertSound::AlertSound(QObject* parent)
    : QObject(parent) {}

AlertSound::~AlertSound() {
    if (m_context) {
        ca_context_destroy(m_context);
    }
}

void AlertSound::play() {
    const int result = startSound();
    if (result != CA_SUCCESS) {
        qCDebug(lcAlerts) << "Alert sound not played:" << ca_strerror(result);
    }
}

// The context is made on first use, so processes that never ring never touch the sound system.
int AlertSound::ensureContext() {
    if (m_context) {
        return CA_SUCCESS;
    }
    snd_lib_error_set_handler(logAlsaError);
    const int created = ca_context_create(&m_context);
    if (created != CA_SUCCESS) {
        m_context = nullptr;
        return created;
    }
    const QByteArray name = AppIdentity::applicationName.toUtf8();
    const QByteArray id = AppIdentity::applicationId.toUtf8();
    const Proplist application = makeProplist({{CA_PROP_APPLICATION_NAME, name.constData()},
                                               {CA_PROP_APPLICATION_ID, id.constData()},
                                               {CA_PROP_APPLICATION_ICON_NAME, id.constData()}});
    return application ? ca_context_change_props_full(m_context, application.get()) : CA_ERROR_OOM;
}

int AlertSound::startSound() {
    const int ready = ensureContext();
    if (ready != CA_SUCCESS) {
        return ready;
    }
    const Proplist event =
        makeProplist({{CA_PROP_EVENT_ID, eventId}, {CA_PROP_EVENT_DESCRIPTION, "Exercise set owed"}});
    return event ? ca_context_play_full(m_context, 0, event.get(), nullptr, nullptr) : CA_ERROR_OOM;
}
