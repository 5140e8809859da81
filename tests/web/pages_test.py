#!/usr/bin/python3
"""The programs' pages in headless Chromium, played as a player would: the set-up screen drawn as
the native program draws it, its choices kept in the browser across a reload, a save that fails
said in the page, the demo's PNG floor, screenshot, music and Escape, mouse look's pointer lock,
and sound that waits for the first click.
    pages_test.py SITE-FOLDER FOLDER-OF-THE-NATIVE-SCREENSHOTS"""
import contextlib
import struct
import sys
import unittest

import devtools

HOME = '/home/web_user'  # the pages' working folder, kept in the browser
# a page's picture counts as the native one when no channel of this share of its pixels is further
# from the native pixel's than this
SAME_SHARE, SAME_WITHIN = 0.999, 2
SKY = (64, 89, 140)  # the demo's clear colour
# the sound the page hands the browser since the hook: its samples, and how many are not silent
COUNTSOUND = '''(() => {
    const fill = SDL.fillWebAudioBufferFromHeap;
    window.heard = {samples: 0, loud: 0};
    SDL.fillWebAudioBufferFromHeap = function(at, frames, buffer) {
        fill.apply(this, arguments);
        for (const sample of buffer.getChannelData(0))
            heard.samples++, heard.loud += Math.abs(sample) > 0.01;
    };
})()'''


class pages(unittest.TestCase):
    autoplay = True

    def setUp(self):
        with contextlib.ExitStack() as stack:
            self.site = stack.enter_context(devtools.servedfolder(sys.argv[1]))
            self.page = stack.enter_context(devtools.browser(autoplay=self.autoplay))
            self.addCleanup(stack.pop_all().close)

    def start(self, name):
        self.page.open(self.site + name + '/')
        self.page.waitfor('Module.calledRun', what='the start of ' + name)

    def settle(self):  # three of the browser's frames: what the last input changed is shown
        self.page.evaluate('new Promise(done => requestAnimationFrame(() =>'
                           ' requestAnimationFrame(() => requestAnimationFrame(done))))')

    def click(self, x, y):
        """A click on the canvas's pixel (x, y), shown: a player's clicks are frames apart, and
        the program reads where the pointer is as it takes a click."""
        self.page.click(*self.page.canvaspoint(x, y))
        self.settle()

    def status(self):
        return self.page.evaluate('document.getElementById("status").textContent')

    def waitforend(self, status='Ended'):
        self.page.waitfor(lambda: self.status() == status, what=status)

    def canvas(self):  # its 640x480 pixels as the page shows them
        left, top = (int(v) for v in self.page.canvaspoint(0, 0))
        shown = devtools.picture(self.page.screenshot())
        return [row[left:left + 640] for row in shown[top:top + 480]]

    def floorstrip(self):  # of the demo's floor, below the gems and beside the map
        return [row[20:500] for row in self.canvas()[400:440]]

    def expectnative(self, picture):
        with open('%s/%s' % (sys.argv[2], picture), 'rb') as file:
            native = devtools.picture(file.read())
        near = sum(max(abs(a - b) for a, b in zip(p, q)) <= SAME_WITHIN
                   for shown, drawn in zip(self.canvas(), native) for p, q in zip(shown, drawn))
        self.assertGreaterEqual(near / (640 * 480), SAME_SHARE, picture)

    def storedchoices(self):  # hwconfig.cfg's length, its fields up to the texture detail
        stored = self.page.readfile(HOME + '/hwconfig.cfg')
        return len(stored), struct.unpack('<10i3fi', stored[:56])


class setuppage(pages):
    def test_draws_the_screen_and_its_colour_bars_as_the_native_program(self):
        self.start('setup')
        self.page.move(*self.page.canvaspoint(600, 440))  # where the native pictures point
        self.settle()
        self.expectnative('setup-screen.png')
        self.page.key('t')
        self.settle()
        self.expectnative('setup-screen-colour.png')

    def test_stores_clicks_and_keys_in_the_browser_and_starts_with_them_after_a_reload(self):
        self.start('setup')
        self.click(40, 168)  # 3. 1024x768
        for key in 'fmt':  # full screen, the mouse held, the colour bars
            self.page.key(key)
        self.click(40, 280)  # Sound off
        self.click(288 + 64, 48)  # a quarter along the red bar
        self.click(20, 12)  # Done
        self.waitforend()
        # version, size, depth, full screen, game flag, sound, joystick, mouse unlocked,
        # interface, text colour, low texture detail
        chosen = (444, (4, 1024, 768, 16, 1, 1, 0, 1, 0, 1, 0.25, 1.0, 1.0, 0))
        self.assertEqual(self.storedchoices(), chosen)
        self.start('setup')
        self.page.key('Escape', 27)  # stores what it read
        self.waitforend()
        self.assertEqual(self.storedchoices(), chosen)

    def test_says_in_the_page_why_a_save_failed_until_a_click(self):
        self.start('setup')
        self.page.evaluate('void FS.mkdir("%s/hwconfig.cfg")' % HOME)
        self.page.move(*self.page.canvaspoint(520, 400))
        self.page.key('Escape', 27)
        self.page.waitfor(lambda: any('cannot save hwconfig.cfg: Is a directory' in line
                                      for line in self.page.console), what='the failure')
        self.settle()
        self.expectnative('save-failure.png')
        self.click(320, 240)
        self.waitforend('Ended (1)')


class demopage(pages):
    autoplay = False  # as browsers ship: sound only after the first click or key

    def test_floor_from_png_music_after_the_first_click_screenshot_and_escape(self):
        self.start('demo')
        self.page.evaluate(COUNTSOUND)
        self.settle()
        self.assertGreater(len({p for row in self.floorstrip() for p in row}), 50)  # not grey
        self.assertFalse([line for line in self.page.console if 'no floor' in line])
        self.assertEqual(self.page.evaluate('SDL.audioContext.state'), 'suspended')
        self.click(320, 240)
        self.page.waitfor('SDL.audioContext.state == "running" && heard.samples > 44100',
                          what='a second of sound after the click')
        heard = self.page.evaluate('heard')
        self.assertGreater(heard['loud'], heard['samples'] // 2, 'the music, not silence')
        self.page.key('p')  # read back from WebGL, without glReadBuffer and row lengths
        self.settle()
        shot = self.page.readfile(HOME + '/scsht000.bmp')
        self.assertEqual(len(shot), 54 + 640 * 480 * 3)
        self.assertEqual(tuple(shot[-1:-4:-1]), SKY)  # the top right corner, blue, green, red
        self.page.key('Escape', 27)
        self.waitforend()

    def test_mouse_look_takes_the_pointer_at_a_click_and_lets_it_go_at_escape(self):
        self.start('setup')
        self.page.key('m')  # the mouse held, in the set-up's file that the demo reads
        self.page.key('Escape', 27)
        self.waitforend()
        self.start('demo')
        locked = 'document.pointerLockElement === Module.canvas'
        self.click(200, 240)
        self.page.waitfor(locked, what='the pointer lock after a click')

        def turnsview(column):  # as the mouse moves there
            before = self.floorstrip()
            self.page.move(*self.page.canvaspoint(column, 240))
            self.settle()
            return self.floorstrip() != before

        self.assertTrue(turnsview(300), 'the held mouse turns the view')
        self.page.key('Escape', 27)  # the browser's: it ends the lock, the program never sees it
        self.page.waitfor('!(%s)' % locked, what='the end of the lock')
        self.settle()
        self.assertFalse(turnsview(400), 'the mouse let go turns nothing')
        self.assertEqual(self.status(), '')  # running still
        self.page.key('Escape', 27)
        self.waitforend()


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
