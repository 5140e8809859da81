#!/usr/bin/python3
"""The browser driver against its test page: it sees the canvas drawn, its key and click reach the
program (the click at the canvas pixel it aimed at), and the page's file is read back.
    devtools_test.py FOLDER-OF-THE-TEST-PAGE"""
import sys
import unittest

import devtools

RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)


class driver(unittest.TestCase):
    def test_drawing_input_and_files(self):
        with devtools.servedfolder(sys.argv[1]) as site, devtools.browser() as page:
            page.open(site)
            page.waitfor(lambda: 'log: testpage: drawing' in page.console, what='the first frame')
            centre = page.canvaspoint(320, 240)
            colourat = lambda: devtools.pixel(page.screenshot(), *map(int, centre))
            page.waitfor(lambda: colourat() == RED, what='red before any input')
            page.key('a')
            page.waitfor(lambda: colourat() == GREEN, what='green after a key')
            page.click(*page.canvaspoint(100, 50))
            page.waitfor(lambda: colourat() == BLUE, what='blue after a click')
            self.assertEqual(page.readfile('/events.txt'), b'key 97\nclick 100 50\n')


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1])
