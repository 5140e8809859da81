"""Drives a page in headless Chromium over the DevTools protocol, for the web build's tests.

    with servedfolder('build-web/site') as site, browser() as page:
        page.open(site + 'setup/')
        page.waitfor('Module.calledRun')
        page.click(*page.canvaspoint(320, 240))
        page.key('a')
        picture = page.screenshot()        # a PNG, as bytes; pixel(picture, x, y) reads it
        config = page.readfile('/hwconfig.cfg')

The folder is served on 127.0.0.1 alone, Chromium renders with its software GL, and both end
with the block, the browser's profile with them. Everything the page writes to its console and
every exception it throws is kept in page.console, for the message of a failed wait.
"""
import base64
import contextlib
import functools
import http.server
import json
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import threading
import time
import urllib.request
import zlib

import websocket  # Debian's python3-websocket

CHROMIUM_FLAGS = [
    '--headless=new', '--no-sandbox',
    # WebGL without a GPU: ANGLE over the SwiftShader software renderer
    '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    # the machine's network is closed: nothing is fetched but the pages served here
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--no-first-run', '--disable-quic',
]
STARTUP_SECONDS = 30
VIEW_WIDTH, VIEW_HEIGHT = 800, 600  # room for a 640x480 canvas and the status line


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Serves files, WebAssembly with the type the browser streams it under, and logs nothing."""
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.wasm': 'application/wasm'}

    def log_message(self, *arguments):
        pass


@contextlib.contextmanager
def servedfolder(folder):
    """Serves folder on a free port of 127.0.0.1; yields its address, ending in '/'."""
    handler = functools.partial(QuietHandler, directory=os.fspath(folder))
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield 'http://127.0.0.1:%d/' % server.server_port
    finally:
        server.shutdown()
        server.server_close()


@contextlib.contextmanager
def browser(chromium='chromium', autoplay=True):
    """Starts headless Chromium with a fresh profile; yields a Page on its first tab. With
    autoplay, a page's sound may start before its first click or key; without, it waits for one,
    as browsers ship."""
    profile = tempfile.mkdtemp(prefix='tavrel-chromium-')
    sound = ['--autoplay-policy=no-user-gesture-required'] if autoplay else []
    process = subprocess.Popen(
        [chromium, *CHROMIUM_FLAGS, *sound, '--user-data-dir=' + profile,
         '--remote-debugging-port=0', 'about:blank'],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, start_new_session=True)
    page = None
    try:
        page = Page(_firsttab(_devtoolsport(process)))
        yield page
    finally:
        if page:
            page.close()
        _endgroup(process)
        shutil.rmtree(profile, ignore_errors=True)


def _endgroup(process, seconds=5):
    """Ends Chromium and the helpers it started, which share its process group: with SIGTERM,
    then SIGKILL; what is left after both waits is a zombie for init to reap."""
    for ending in (signal.SIGTERM, signal.SIGKILL):
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, ending)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                os.killpg(process.pid, 0)
            except ProcessLookupError:
                return
            with contextlib.suppress(subprocess.TimeoutExpired):
                process.wait(0.1)
    process.wait()


def _devtoolsport(process):
    """The port Chromium says it listens on; the rest of its standard error is drained."""
    deadline = time.monotonic() + STARTUP_SECONDS
    said = []
    for line in process.stderr:
        said.append(line)
        found = re.search(r'DevTools listening on ws://[^:]+:(\d+)/', line)
        if found:
            threading.Thread(target=process.stderr.read, daemon=True).start()
            return int(found.group(1))
        if time.monotonic() > deadline:
            break
    raise RuntimeError('chromium did not start:\n' + ''.join(said))


def _firsttab(port):
    with urllib.request.urlopen('http://127.0.0.1:%d/json/list' % port) as answer:
        targets = json.load(answer)
    return next(t['webSocketDebuggerUrl'] for t in targets if t['type'] == 'page')


class Page:
    """One tab: calls of the protocol, and the page's console as it comes."""

    def __init__(self, address):
        self.socket = websocket.create_connection(address, timeout=60, suppress_origin=True)
        self.lastid = 0
        self.console = []
        self.events = []
        for domain in ('Page', 'Runtime', 'Log'):
            self.call(domain + '.enable')
        # the window's size is not the page's in headless Chromium
        self.call('Emulation.setDeviceMetricsOverride', width=VIEW_WIDTH, height=VIEW_HEIGHT,
                  deviceScaleFactor=1, mobile=False)

    def close(self):
        self.socket.close()

    def call(self, method, **parameters):
        """Sends one command and returns its result; events that come first are kept."""
        self.lastid += 1
        self.socket.send(json.dumps({'id': self.lastid, 'method': method, 'params': parameters}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get('id') == self.lastid:
                if 'error' in message:
                    raise RuntimeError('%s: %s' % (method, message['error']))
                return message.get('result', {})
            self._keep(message)

    def _keep(self, event):
        parameters = event.get('params', {})
        if event.get('method') == 'Runtime.consoleAPICalled':
            words = [str(a.get('value', a.get('description', ''))) for a in parameters['args']]
            self.console.append(parameters['type'] + ': ' + ' '.join(words))
        elif event.get('method') == 'Runtime.exceptionThrown':
            details = parameters['exceptionDetails']
            thrown = details.get('exception', {})
            said = thrown.get('description') or thrown.get('value') or details.get('text')
            self.console.append('exception: ' + str(said))
        elif event.get('method') == 'Log.entryAdded':
            self.console.append('log %(level)s: %(text)s' % parameters['entry'])
        self.events.append(event)

    def open(self, address, seconds=60):
        """Loads address and waits for its load event."""
        self.events.clear()
        self.call('Page.navigate', url=address)
        self.waitfor(lambda: any(e.get('method') == 'Page.loadEventFired' for e in self.events),
                     seconds, 'the load of ' + address)

    def evaluate(self, expression):
        """The value of a JavaScript expression in the page, as JSON gives it."""
        result = self.call('Runtime.evaluate', expression=expression, returnByValue=True,
                           awaitPromise=True)
        if 'exceptionDetails' in result:
            raise RuntimeError('%s: %s' % (expression, result['exceptionDetails']))
        return result['result'].get('value')

    def waitfor(self, condition, seconds=30, what=None):
        """Waits until condition (an expression in the page, or a function here) is true."""
        check = condition if callable(condition) else lambda: self.evaluate(condition)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = check()
            if value:
                return value
            self.call('Runtime.evaluate', expression='0')  # lets the events in between arrive
            time.sleep(0.1)
        raise TimeoutError('waited %d s for %s; the console said:\n%s'
                           % (seconds, what or condition, '\n'.join(self.console)))

    def screenshot(self):
        """The page as it shows now, as PNG bytes."""
        return base64.b64decode(self.call('Page.captureScreenshot', format='png')['data'])

    def canvaspoint(self, x, y):
        """The page's point of the canvas's pixel (x, y), at whatever size the canvas is shown."""
        box = self.evaluate('(() => { const c = Module.canvas, r = c.getBoundingClientRect();'
                            ' return [r.left, r.top, r.width / c.width, r.height / c.height]; })()')
        return box[0] + (x + 0.5) * box[2], box[1] + (y + 0.5) * box[3]

    def move(self, x, y):
        """The mouse moved to the page's point (x, y)."""
        self.call('Input.dispatchMouseEvent', type='mouseMoved', x=x, y=y)

    def click(self, x, y, button='left'):
        """A press and release of a mouse button at the page's point (x, y)."""
        self.move(x, y)
        for kind in ('mousePressed', 'mouseReleased'):
            self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, button=button,
                      clickCount=1)

    def key(self, name, keycode=None, seconds=0):
        """A press and release of a key, held for the seconds given: a character ('a') or a DOM
        key name ('Escape', 'ArrowLeft') with the key code the browser gives it (27, 37; for a
        character its upper case's by default)."""
        keycode = keycode or ord(name.upper())
        code = 'Key' + name.upper() if len(name) == 1 and name.isalpha() else name
        press = {'key': name, 'code': code, 'windowsVirtualKeyCode': keycode,
                 'nativeVirtualKeyCode': keycode}
        self.call('Input.dispatchKeyEvent', type='keyDown', text=name if len(name) == 1 else '',
                  **press)
        time.sleep(seconds)
        self.call('Input.dispatchKeyEvent', type='keyUp', **press)

    def readfile(self, path):
        """A file of the page's own file system (the program must export FS)."""
        encoded = self.evaluate('(() => { let s = ""; for (const b of Module.FS.readFile(%s))'
                                ' s += String.fromCharCode(b); return btoa(s); })()'
                                % json.dumps(path))
        return base64.b64decode(encoded)


def pixel(png, x, y):
    """The red, green and blue of pixel (x, y) of a PNG that picture reads."""
    return picture(png, y + 1)[y][x]


def picture(png, rows=None):
    """The rows of an 8-bit RGB, RGBA or grey PNG without interlacing (as Chromium writes its
    screenshots, and ImageMagick a grey picture), each a list of (red, green, blue); the first
    rows alone, when given."""
    width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', png[16:29])
    step = {0: 1, 2: 3, 6: 4}.get(colour)  # grey, RGB, RGBA
    if depth != 8 or not step or interlace:
        raise ValueError('not an 8-bit RGB, RGBA or grey PNG without interlacing')
    data, at = b'', 8
    while at < len(png):
        length, kind = struct.unpack('>I4s', png[at:at + 8])
        if kind == b'IDAT':
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    filtered, stride = zlib.decompress(data), width * step
    previous, decoded = bytearray(stride), []
    for row in range(height if rows is None else rows):
        line = bytearray(filtered[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        _unfilter(filtered[row * (stride + 1)], line, previous, step)
        decoded.append([tuple(line[x:x + 3]) if step > 1 else (line[x],) * 3
                        for x in range(0, stride, step)])
        previous = line
    return decoded


def _unfilter(kind, line, above, step):
    for i in range(len(line)):
        left = line[i - step] if i >= step else 0
        upleft = above[i - step] if i >= step else 0
        if kind == 1:
            line[i] = (line[i] + left) & 255
        elif kind == 2:
            line[i] = (line[i] + above[i]) & 255
        elif kind == 3:
            line[i] = (line[i] + (left + above[i]) // 2) & 255
        elif kind == 4:
            guess = left + above[i] - upleft
            nearest = min((abs(guess - left), 0, left), (abs(guess - above[i]), 1, above[i]),
                          (abs(guess - upleft), 2, upleft))[2]
            line[i] = (line[i] + nearest) & 255
