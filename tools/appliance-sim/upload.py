"""The firmware upload form. The client's delimiter lines hold the boundary
itself (no leading "--"), and the body ends with a line of "--" followed by
a line with the boundary; that is the form this appliance takes."""

import re

FORM_SLACK = 16384     # room for the text fields around the image


class BadForm(Exception):
    pass


class Part:
    def __init__(self, name, filename, content_type, data):
        self.name, self.filename, self.content_type, self.data = name, filename, content_type, data


def boundary_of(content_type):
    kind, _, rest = content_type.partition(";")
    if kind.strip().lower() != "multipart/form-data":
        raise BadForm("not multipart/form-data")
    for piece in rest.split(";"):
        name, _, value = piece.strip().partition("=")
        if name.lower() == "boundary" and value:
            return value.strip('"').encode("latin-1")
    raise BadForm("no boundary")


def parse(content_type, body):
    boundary = boundary_of(content_type)
    opening = boundary + b"\r\n"
    closing = b"\r\n--\r\n" + boundary + b"\r\n"
    if not body.startswith(opening):
        raise BadForm("body does not start with the boundary line")
    if not body.endswith(closing):
        raise BadForm("body does not end with the closing lines")
    inner = body[len(opening):len(body) - len(closing)]
    parts = []
    for chunk in inner.split(b"\r\n" + opening):
        head, separator, data = chunk.partition(b"\r\n\r\n")
        if not separator:
            raise BadForm("part without header end")
        parts.append(part_of(head, data))
    return parts


def image_size(content_type, opening, length):
    """The size of the image in a form of `length` bytes, told by the form's
    first bytes `opening` (the file part stands last); None when they do not
    tell."""
    try:
        boundary = boundary_of(content_type)
    except BadForm:
        return None
    at = opening.find(b'; name="filename"')
    end = opening.find(b"\r\n\r\n", at) if at >= 0 else -1
    if end < 0:
        return None
    return length - (end + 4) - len(b"\r\n--\r\n" + boundary + b"\r\n")


DISPOSITION = re.compile(r'form-data; name="([^"]*)"(?:; filename="(.*)")?$')


def part_of(head, data):
    name = filename = content_type = None
    for line in head.decode("latin-1").split("\r\n"):
        key, _, value = line.partition(":")
        if key.lower() == "content-disposition":
            # The file name is written as it is, quotes and semicolons included:
            # it runs to the line's last quote.
            found = DISPOSITION.match(value.strip())
            if not found:
                raise BadForm("disposition %r" % value)
            name, filename = found.group(1), found.group(2)
        elif key.lower() == "content-type":
            content_type = value.strip()
    if name is None:
        raise BadForm("part without name")
    return Part(name, filename, content_type, data)


def check_firmware_form(parts):
    """The three text fields and the image, or BadForm."""
    fields = {}
    file_part = None
    for part in parts:
        if part.filename is None:
            fields[part.name] = part.data.decode("latin-1")
        elif part.name == "filename":
            file_part = part
    if fields.get("type") != "file_upload":
        raise BadForm("type is not file_upload")
    if not fields.get("redirect") or not fields.get("failure"):
        raise BadForm("redirect or failure missing")
    if file_part is None:
        raise BadForm("no file part named filename")
    if not file_part.content_type:
        raise BadForm("file part without content type")
    return fields, file_part


def firmware_version(image):
    """The version an image announces in its first line ("Q70FW <version>"),
    taken on at the next reboot; None for an image without one."""
    found = re.match(rb"Q70FW ([\x21-\x7e]{1,30})\r?\n", image)
    return found.group(1).decode("ascii") if found else None
