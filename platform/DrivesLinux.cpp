#ifndef _WIN32

// A drive letter is a link in ~/Network Drives that points at the local path
// of a user-space (GVFS) mount of the share; GIO makes the mounts, asks for
// the password and keeps it in the keyring.

#include "platform/Drives.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/Clock.h"
#include "platform/CodePage.h"

namespace {

// A share that has not answered by then is taken as unreachable.
constexpr int MountWaitMs = 20000;
// How long a cancelled mount may take to report back.
constexpr int CancelWaitMs = 2000;

std::string DrivesFolder()
{
    return std::string(g_get_home_dir()) + "/Network Drives";
}

std::string LinkOf(char letter)
{
    return DrivesFolder() + "/" + letter;
}

bool IsLiveLink(const std::string& path)
{
    struct stat link {}, target {};
    return lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && stat(path.c_str(), &target) == 0;
}

// A free letter has nothing at its place, or a link whose mount is gone.
bool IsFree(const std::string& path)
{
    struct stat link {}, target {};
    if (lstat(path.c_str(), &link) != 0)
        return true;
    return S_ISLNK(link.st_mode) && stat(path.c_str(), &target) != 0;
}

template <typename T> struct GFree {
    void operator()(T* p) const { g_object_unref(p); }
};
template <typename T> using GRef = std::unique_ptr<T, GFree<T>>;

struct CharFree {
    void operator()(char* p) const { g_free(p); }
};
using GText = std::unique_ptr<char, CharFree>;

// "\\host\folder" as "smb://host/folder", optionally with a user.
std::string ShareUri(const std::string& remoteName, const std::string& user = {})
{
    std::string rest = remoteName.substr(remoteName.starts_with("\\\\") ? 2 : 0);
    const auto slash = rest.find('\\');
    const std::string host = rest.substr(0, slash);
    const std::string folder = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    GText escapedFolder(g_uri_escape_string(AnsiToUtf8(folder).c_str(), nullptr, FALSE));
    std::string authority = AnsiToUtf8(host);
    if (!user.empty()) {
        GText escapedUser(g_uri_escape_string(user.c_str(), nullptr, FALSE));
        authority = std::string(escapedUser.get()) + "@" + authority;
    }
    return "smb://" + authority + "/" + escapedFolder.get();
}

// What the mount's callbacks fill in; shared with them, since a mount given
// up on may still report back later.
struct MountState {
    std::string password;
    bool savePassword = false;
    int passwordRequests = 0;
    bool passwordRefused = false;
    bool done = false;
    GError* error = nullptr;
    ~MountState()
    {
        if (error)
            g_error_free(error);
    }
};
using SharedMountState = std::shared_ptr<MountState>;

void ReleaseState(gpointer data, GClosure*)
{
    delete static_cast<SharedMountState*>(data);
}

void AskPassword(GMountOperation* operation, gchar*, gchar*, gchar* defaultDomain, GAskPasswordFlags flags,
                 gpointer data)
{
    MountState& state = **static_cast<SharedMountState*>(data);
    // Asked again: the server refused what we gave.
    if (++state.passwordRequests > 1) {
        state.passwordRefused = true;
        g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
        return;
    }
    if (state.password.empty() && (flags & G_ASK_PASSWORD_ANONYMOUS_SUPPORTED)) {
        g_mount_operation_set_anonymous(operation, TRUE);
    } else {
        // As the workstation's own user, like a drive connected without a user name.
        if (flags & G_ASK_PASSWORD_NEED_USERNAME)
            g_mount_operation_set_username(operation, g_get_user_name());
        if (flags & G_ASK_PASSWORD_NEED_DOMAIN)
            g_mount_operation_set_domain(operation, defaultDomain ? defaultDomain : "");
        g_mount_operation_set_password(operation, state.password.c_str());
        g_mount_operation_set_password_save(
            operation, state.savePassword ? G_PASSWORD_SAVE_PERMANENTLY : G_PASSWORD_SAVE_NEVER);
    }
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_HANDLED);
}

void AskQuestion(GMountOperation* operation, gchar*, GStrv, gpointer)
{
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
}

void MountFinished(GObject* source, GAsyncResult* result, gpointer data)
{
    SharedMountState* state = static_cast<SharedMountState*>(data);
    g_file_mount_enclosing_volume_finish(G_FILE(source), result, &(*state)->error);
    (*state)->done = true;
    delete state;
}

// Runs the context until the flag is set or the time is up, letting the
// windows handle their events every few milliseconds.
void RunUntil(GMainContext* context, const bool& done, int limitMs, const EventPump& pump)
{
    GSource* tick = g_timeout_source_new(5);
    g_source_set_callback(tick, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr, nullptr);
    g_source_attach(tick, context);
    const auto deadline = MonotonicMs() + limitMs;
    while (!done && MonotonicMs() < deadline) {
        g_main_context_iteration(context, TRUE);
        if (pump)
            pump();
    }
    g_source_destroy(tick);
    g_source_unref(tick);
}

bool MessageNames(const GError* error, int errorNumber)
{
    return std::strstr(error->message, g_strerror(errorNumber)) != nullptr;
}

int CodeOfMountFailure(const MountState& state)
{
    if (state.passwordRefused)
        return DriveError::InvalidPassword;
    const GError* error = state.error;
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_NOT_FOUND: return DriveError::BadNetName;
        case G_IO_ERROR_PERMISSION_DENIED: return DriveError::AccessDenied;
        case G_IO_ERROR_HOST_NOT_FOUND:
        case G_IO_ERROR_HOST_UNREACHABLE:
        case G_IO_ERROR_NETWORK_UNREACHABLE:
        case G_IO_ERROR_CONNECTION_REFUSED:
        case G_IO_ERROR_TIMED_OUT: return DriveError::NoNetwork;
        default: break;
        }
    }
    // The file-sharing backend reports most failures as plain failures in the system's words.
    if (MessageNames(error, ENOENT))
        return DriveError::BadNetName;
    for (int number : {EHOSTUNREACH, ENETUNREACH, ECONNREFUSED, ETIMEDOUT, EHOSTDOWN, ENETDOWN})
        if (MessageNames(error, number))
            return DriveError::NoNetwork;
    return DriveError::GeneralFailure;
}

// 0 once the share is mounted (also when it already was), else the result code.
int MountShare(GFile* share, const std::string& password, bool savePassword, const EventPump& pump)
{
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    auto state = std::make_shared<MountState>();
    state->password = password;
    state->savePassword = savePassword;
    GRef<GMountOperation> operation(g_mount_operation_new());
    g_signal_connect_data(operation.get(), "ask-password", G_CALLBACK(AskPassword), new SharedMountState(state),
                          ReleaseState, GConnectFlags(0));
    g_signal_connect(operation.get(), "ask-question", G_CALLBACK(AskQuestion), nullptr);
    GRef<GCancellable> cancellable(g_cancellable_new());
    g_file_mount_enclosing_volume(share, G_MOUNT_MOUNT_NONE, operation.get(), cancellable.get(), MountFinished,
                                  new SharedMountState(state));
    RunUntil(context, state->done, MountWaitMs, pump);
    const bool timedOut = !state->done;
    if (timedOut) {
        g_cancellable_cancel(cancellable.get());
        RunUntil(context, state->done, CancelWaitMs, pump);
    }
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    if (timedOut)
        return DriveError::NoNetwork;
    if (!state->error || g_error_matches(state->error, G_IO_ERROR, G_IO_ERROR_ALREADY_MOUNTED))
        return DriveError::None;
    return CodeOfMountFailure(*state);
}

// True when the session has a keyring to keep passwords in.
bool KeyringReachable()
{
    GRef<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
    if (!bus)
        return false;
    for (const char* method : {"NameHasOwner", "ListActivatableNames"}) {
        const bool owner = std::strcmp(method, "NameHasOwner") == 0;
        GVariant* reply = g_dbus_connection_call_sync(
            bus.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
            owner ? g_variant_new("(s)", "org.freedesktop.secrets") : nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, 1000,
            nullptr, nullptr);
        if (!reply)
            continue;
        bool found = false;
        if (owner) {
            gboolean has = FALSE;
            g_variant_get(reply, "(b)", &has);
            found = has;
        } else {
            GVariantIter* names = nullptr;
            const char* name = nullptr;
            g_variant_get(reply, "(as)", &names);
            while (g_variant_iter_next(names, "&s", &name))
                found = found || std::strcmp(name, "org.freedesktop.secrets") == 0;
            g_variant_iter_free(names);
        }
        g_variant_unref(reply);
        if (found)
            return true;
    }
    return false;
}

// One argument of a desktop entry's Exec line: double-quoted, with the
// characters that quoting reserves escaped, then the value's own escapes.
std::string ExecArgument(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\')
            value += '\\';
        if (c == '%')
            value += '%';
        value += c;
    }
    return value;
}

// An autostart entry that mounts the share at the next desktop login and
// points the letter at it again.
void RememberForLogon(char letter, const std::string& uri, bool asGuest)
{
    const std::string folder = std::string(g_get_user_config_dir()) + "/autostart";
    g_mkdir_with_parents(folder.c_str(), 0700);
    // $1 the link, $2 the share, $3 "-a" for a guest mount; a kept password comes from the keyring.
    const std::string script = "gio mount $3 \"$2\" </dev/null; "
                               "p=$(gio info \"$2\" | sed -n 's/^local path: //p'); "
                               "[ -n \"$p\" ] && mkdir -p \"$(dirname \"$1\")\" && ln -sfn \"$p\" \"$1\"";
    std::ofstream entry(folder + "/q70config-drive-" + letter + ".desktop", std::ios::trunc);
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=Network drive " << letter << "\n"
          << "Exec=sh -c " << ExecArgument(script) << " q70config-drive " << ExecArgument(LinkOf(letter)) << " "
          << ExecArgument(uri) << (asGuest ? " -a" : "") << "\n"
          << "NoDisplay=true\n"
          << "X-GNOME-Autostart-enabled=true\n";
}

class LinuxDrives final : public Drives {
public:
    explicit LinuxDrives(EventPump pump) : pump_(std::move(pump)) {}

    DriveKind KindOf(char letter) override
    {
        const std::string link = LinkOf(letter);
        if (IsFree(link))
            return DriveKind::NoRootDir;
        return IsLiveLink(link) ? DriveKind::Remote : DriveKind::Fixed;
    }

    std::optional<std::string> ConnectionOf(char letter) override
    {
        const std::string link = LinkOf(letter);
        if (!IsLiveLink(link))
            return std::nullopt;
        GText target(g_file_read_link(link.c_str(), nullptr));
        return target ? std::optional<std::string>(target.get()) : std::nullopt;
    }

    int Connect(const ConnectRequest& request) override
    {
        const char letter = request.localName.empty() ? '\0' : request.localName[0];
        const std::string link = LinkOf(letter);
        if (!IsFree(link))
            return DriveError::AlreadyAssigned;
        const bool keepPassword = request.reconnectAtLogon && !request.password.empty() && KeyringReachable();
        GRef<GFile> share(g_file_new_for_uri(ShareUri(request.remoteName).c_str()));
        if (const int code = MountShare(share.get(), request.password, keepPassword, pump_))
            return code;
        GText path(g_file_get_path(share.get()));
        if (!path)
            return DriveError::GeneralFailure;
        g_mkdir_with_parents(DrivesFolder().c_str(), 0700);
        unlink(link.c_str()); // a link left by a mount that is gone
        if (symlink(path.get(), link.c_str()) != 0)
            return errno == EEXIST ? DriveError::AlreadyAssigned : DriveError::GeneralFailure;
        // Without a keyring the password is kept nowhere, so a password share cannot come back by itself.
        if (request.reconnectAtLogon && (request.password.empty() || keepPassword))
            RememberForLogon(letter, ShareUri(request.remoteName, request.password.empty() ? "" : g_get_user_name()),
                             request.password.empty());
        return DriveError::None;
    }

private:
    EventPump pump_;
};

} // namespace

std::unique_ptr<Drives> MakeSystemDrives(EventPump pump)
{
    return std::make_unique<LinuxDrives>(std::move(pump));
}

#endif
