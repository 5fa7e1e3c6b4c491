"""The program's own files as an operator or installer sees them: the daily log and Config.ini (GBK)."""

import datetime
import os
import re

ENCODING = "gbk"
LOG_NAME = re.compile(r"^FINGER\d{8}\.txt$", re.I)
LOG_LINE = re.compile(rb"^(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}) : (.*)$", re.S)


class LogLine:
    def __init__(self, raw):
        self.raw = raw  # the bytes of the line including its CR LF
        m = LOG_LINE.match(raw[:-2] if raw.endswith(b"\r\n") else raw)
        self.well_formed = bool(m) and raw.endswith(b"\r\n")
        self.stamp = datetime.datetime.strptime(m.group(1).decode(), "%Y-%m-%d %H:%M:%S") if m else None
        self.text = m.group(2).decode(ENCODING) if m else None

    def __repr__(self):
        return "LogLine(%r)" % self.raw


def log_file_name(day):
    return "FINGER%s.txt" % day.strftime("%Y%m%d")


def log_files(folder):
    directory = os.path.join(folder, "LogFiles")
    if not os.path.isdir(directory):
        return []
    # Only the daily logs: a fault's minidump lies beside them.
    return sorted(os.path.join(directory, n) for n in os.listdir(directory) if LOG_NAME.match(n))


def log_lines(folder, day=None):
    """The lines of the log files (of one day, or of all days), each with its CR LF."""
    files = [os.path.join(folder, "LogFiles", log_file_name(day))] if day else log_files(folder)
    lines = []
    for path in files:
        if os.path.exists(path):
            with open(path, "rb") as f:
                data = f.read()
            lines.extend(LogLine(raw) for raw in data.splitlines(keepends=True))
    return lines


def read_config(folder):
    """Config\\Config.ini as text."""
    with open(os.path.join(folder, "Config", "Config.ini"), "rb") as f:
        return f.read().decode(ENCODING)


def write_config_text(folder, text):
    with open(os.path.join(folder, "Config", "Config.ini"), "wb") as f:
        f.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode(ENCODING))


def set_config_value(folder, key, value, section="KV90"):
    """Sets key=value in the section (names match without regard to case), keeping every other line."""
    lines = read_config(folder).replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    in_section = False
    section_end = None
    for i, line in enumerate(lines):
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            if in_section:
                break
            in_section = stripped[1:-1].strip().lower() == section.lower()
            section_end = i + 1 if in_section else section_end
            continue
        if in_section:
            if "=" in line and line.split("=", 1)[0].strip().lower() == key.lower():
                lines[i] = "%s=%s" % (key, value)
                write_config_text(folder, "\n".join(lines) + "\n")
                return
            if stripped:
                section_end = i + 1
    if section_end is None:
        lines += ["[%s]" % section, "%s=%s" % (key, value)]
    else:
        lines.insert(section_end, "%s=%s" % (key, value))
    write_config_text(folder, "\n".join(lines) + "\n")


def config_value(folder, key, section="KV90"):
    """The value as written in the file, or None when the key is absent."""
    in_section = False
    for line in read_config(folder).splitlines():
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            in_section = stripped[1:-1].strip().lower() == section.lower()
        elif in_section and "=" in line and line.split("=", 1)[0].strip().lower() == key.lower():
            return line.split("=", 1)[1].strip()
    return None
