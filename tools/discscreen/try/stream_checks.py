"""The checks websockify makes before it joins a browser to the run's display.

`discscreen try` starts websockify with both classes, each given the path of
the run's private settings file: four lines, the run's token, x11vnc's Unix
socket, the port websockify listens on and the port of the try page. A
connection is taken only with this run's token, the Host of this listener on
127.0.0.1 and an Origin of the try page; the token never shows on a command
line.
"""
from websockify.auth_plugins import AuthenticationError


def _settings(path):
    with open(path, encoding="ascii") as settings:
        token, socket, stream_port, page_port = settings.read().split("\n")[:4]
    return token, socket, stream_port, page_port


class RunToken:
    """The token plugin: this run's token leads to x11vnc's socket."""

    def __init__(self, source):
        self.token, self.socket, _, _ = _settings(source)

    def lookup(self, token):
        if token == self.token:
            return ("unix_socket", self.socket)
        return None


class PageOnly:
    """The auth plugin: the Host and Origin of the try page on 127.0.0.1."""

    def __init__(self, source):
        _, _, stream_port, page_port = _settings(source)
        self.hosts = {"127.0.0.1:" + stream_port, "localhost:" + stream_port}
        self.origins = {"http://127.0.0.1:" + page_port, "http://localhost:" + page_port}

    def authenticate(self, headers, target_host, target_port):
        if headers.get("Host") not in self.hosts:
            raise AuthenticationError(response_code=403, response_msg="Forbidden host")
        if headers.get("Origin") not in self.origins:
            raise AuthenticationError(response_code=403, response_msg="Forbidden origin")
