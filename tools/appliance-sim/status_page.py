"""Renders "/utility_use.htm" from the appliance's state.

Each setting stands as name="value"; followed by CR LF. Two quirks the
client relies on: "share_list" comes before "ftps_share_list" (a key search
also matches at the end of a longer name), and the disk sleep time shares
its line with the next setting, since the client keeps what precedes the
first quote-semicolon inside that value."""

import time

TERMINATOR = '";\r\n'
NBSP = "&nbsp;"


def option_list(names):
    return "".join('<option value="%s">%s</option>' % (n, n) for n in names)


def sharing_list(names):
    # The account's folder list ends each display text with a blank.
    return "".join('<option value="%s">%s </option>' % (n, n) for n in names)


def account_list(accounts):
    entries = []
    for a in accounts:
        text = (a.name + NBSP * max(1, 21 - len(a.name))
                + a.password + NBSP * 11
                + ("RO" if a.access == "R" else "RW") + NBSP * 11
                + ("Enable" if a.enabled else "Disable") + NBSP)
        entries.append('<option value="%d">%s</option>' % (a.id, text))
    return "".join(entries)


def settings(state):
    """The page's settings in page order, as (name, value) text pairs."""
    now = state.now()
    current = state.account_by_id(state.current_account) if state.current_account is not None else None
    values = [
        ("host_name", state.host_name),
        ("group_name", state.group_name),
        ("sntp_time", time.strftime("%Y/%m/%d %H:%M:%S", now)),
        ("sntp_day0", "%04d" % now.tm_year),
        ("sntp_day1", "%02d" % now.tm_mon),
        ("sntp_day2", "%02d" % now.tm_mday),
        ("sntp_time0", "%02d" % now.tm_hour),
        ("sntp_time1", "%02d" % now.tm_min),
        ("sntp_time2", "%02d" % now.tm_sec),
        ("sntp_auto", state.sntp_auto),
        ("sntp_timeserver", state.sntp_timeserver),
        ("sntp_server", state.sntp_server),
        ("sntp_zone", state.sntp_zone),
        ("ip_addr", state.ip),
        ("dhcps_option", state.dhcps_option),
        ("mac_addr", state.mac_addr),
        ("firm_ver", state.firm_ver),
        ("disk_id", state.disk_id),
        ("free_size", state.free_size),
        ("total_size", state.total_size),
        ("default_lang", state.default_lang),
        ("lang_list", state.lang_list),
        ("ip_type", state.ip_type),
        ("ip", state.ip),
        ("submask", state.submask),
        ("gateway", state.gateway),
        ("pdns", state.pdns),
        ("sdns", state.sdns),
        ("share_list", option_list(state.folders)),
        ("allow_share", option_list(state.shared)),
        ("ftps_status", state.ftps_status),
        ("ftps_port", state.ftps_port),
        ("ftp_anon_stu", state.ftp_anon_stu),
        ("ftp_a_att", state.ftp_a_att),
        ("ftps_dir_list", option_list(state.folders)),
        ("ftps_home_def", state.ftps_home_def),
        ("ftp_ac_list", account_list(state.accounts)),
        ("ftps_account", current.name if current else ""),
        ("ftps_account_passwd", current.password if current else ""),
        ("ftps_att", "checked" if current and current.access == "R" else ""),
        ("ftps_share_list", sharing_list(current.folders) if current else ""),
        ("disk_idle_value", state.disk_idle_value),
        ("disk_fix_enable", state.disk_fix_enable),
        ("disk_scan", state.disk_scan),
    ]
    return [(name, state.raw_overrides.get(name, value))
            for name, value in values if name not in state.omitted]


def render(state):
    """The whole page as UTF-8 bytes."""
    with state.lock:
        pairs = settings(state)
        glue = state.disk_idle_own_line != "1"
    lines = ["<HTML>", "<HEAD><TITLE>Utility</TITLE>",
             '<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=utf-8">',
             "</HEAD>", "<BODY>", "<SCRIPT LANGUAGE=\"JavaScript\">"]
    text = "\r\n".join(lines) + "\r\n"
    for name, value in pairs:
        if name == "disk_idle_value" and glue:
            text += 'var %s="%s";' % (name, value)     # same line as the next one
        else:
            text += 'var %s="%s%s' % (name, value, TERMINATOR)
    text += "</SCRIPT>\r\n</BODY>\r\n</HTML>\r\n"
    return text.encode("utf-8")
