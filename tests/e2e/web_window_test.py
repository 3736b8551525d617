#!/usr/bin/env python3
"""The browser build in headless Chromium, driven as a user drives it.

Usage: tests/e2e/web_window_test.py SITE_FOLDER OUT_FOLDER PORT_FILE PRINTED_FILE
Serves SITE_FOLDER on a free port of 127.0.0.1 and opens orvik-generator.html with Debian's
chromium-driver. The page names itself; the file picker closed without a choice leaves the form
alone; PORT_FILE, handed to the picker, loads; every tab is visited with Ctrl+PageDown; Apply
downloads a file equal to PRINTED_FILE (what `orvik print PORT_FILE` gives); taking back the
connector type's answer takes tabs away and Ctrl+Z brings them back, the form's download then
equal to PRINTED_FILE again; a reload with that answer taken back and brought back unsaved offers
the answers back, and Yes restores them (the download once more equal to PRINTED_FILE); the chosen
file, kept by the page, loads from the recent files after the reload. Screenshots land in OUT_FOLDER
(web-window.png is the loaded form). Prints the time from the page's start to its first frame.
"""
import functools
import hashlib
import http.server
import io
import pathlib
import shutil
import sys
import tempfile
import threading
import time

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

TITLE = "Orvik Generator 1.2.2.2"
WIDTH, HEIGHT = 1366, 768

# Qt's browser platform opens its file picker with a hidden <input type=file> it clicks and then
# takes off the page. A headless browser shows no picker: the click is kept from the browser and
# the input put back, visible, for the test to hand it a file as a user would choose one.
CATCH_FILE_PICKER = """
window.orvikPicker = null;
const click = HTMLInputElement.prototype.click;
HTMLInputElement.prototype.click = function () {
    if (this.type !== 'file') { return click.call(this); }
    window.orvikPicker = this;
    setTimeout(() => { this.id = 'orvik-picker'; this.style.display = 'block';
                       document.body.appendChild(this); }, 0);
};
"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(site):
    handler = functools.partial(QuietHandler, directory=str(site))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 f"--window-size={WIDTH},{HEIGHT}", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    # A second download from the page is not held back for the user's leave.
    options.add_experimental_option("prefs", {"profile.default_content_setting_values.automatic_downloads": 1})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page:
    def __init__(self, driver, out):
        self.driver, self.out = driver, out
        self.canvas = driver.find_element(By.CSS_SELECTOR, "canvas")

    def settle(self, seconds=0.4):
        time.sleep(seconds)

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()
        self.settle()

    def chord(self, modifier, key):
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()
        self.settle()

    def click(self, x, y):
        """A click at (x, y) of the canvas, counted from its top left corner."""
        size = self.canvas.size
        ActionChains(self.driver).move_to_element_with_offset(
            self.canvas, x - size["width"] // 2, y - size["height"] // 2).click().perform()
        self.settle()

    def picture(self, name=None):
        png = self.canvas.screenshot_as_png
        if name:
            (self.out / name).write_bytes(png)
        return hashlib.sha256(png).hexdigest()

    def tab_column(self):
        return hashlib.sha256(self.image().crop(TAB_COLUMN).tobytes()).hexdigest()

    def red_in_tab_column(self):
        return sum(1 for r, g, b in self.image().crop(TAB_COLUMN).getdata() if r > 180 and g < 90 and b < 90)

    def image(self):
        return Image.open(io.BytesIO(self.canvas.screenshot_as_png)).convert("RGB")

    def close_info_window(self):
        """Some pages open an explanation when first shown; in the page it takes the whole canvas,
        its white text where the sheet has the grey below its tab column. Enter presses its Close;
        the page gives the keyboard back to the sheet only when it is clicked."""
        for _ in range(3):
            if self.image().getpixel(INFO_TEXT_PROBE) != (255, 255, 255):
                return
            self.keys(Keys.ENTER)
            self.click(*INFO_TEXT_PROBE)
        raise SystemExit("FAIL: an explanation window does not close with Enter")

    def visit_every_tab(self, tabs):
        """Every tab in turn by keyboard, until the first comes round again. The tab column tells
        which tab is shown, whatever has the focus on the page; a tab's name turns from red to
        black once it has been looked at."""
        seen = []
        for _ in range(tabs):
            self.chord(Keys.CONTROL, Keys.PAGE_DOWN)
            self.close_info_window()
            seen.append(self.tab_column())
        red = self.red_in_tab_column()
        if len(set(seen)) != tabs or red:
            self.picture("web-failed.png")
            raise SystemExit(f"FAIL: {tabs} times Ctrl+PageDown showed {len(set(seen))} tabs; "
                             f"{red} red pixels left in the tab column")

    def focus_connector_type(self):
        """A closed box leaves the keyboard nowhere until the sheet is clicked (below its tab
        column, where nothing is); the find bar goes to the question, and closing it hands the
        question the keyboard."""
        self.click(*INFO_TEXT_PROBE)
        self.chord(Keys.CONTROL, "f")
        self.keys("Connector_Type", Keys.ENTER)
        self.keys(Keys.ESCAPE)

    def wait(self, what, test, seconds=30):
        try:
            WebDriverWait(self.driver, seconds, 0.1).until(lambda d: test())
        except Exception:
            self.picture("web-failed.png")
            raise SystemExit(f"FAIL: {what} (see web-failed.png)")


def wait_for_first_frame(driver):
    """Qt hides its loading screen and shows the canvas once the window has drawn."""
    WebDriverWait(driver, 60, 0.05).until(lambda d: d.execute_script(
        "const c = document.querySelector('canvas');"
        "return c !== null && c.style.display !== 'none' && c.width > 0;"))


def downloaded(folder, keep_as, page):
    """The file the browser downloads next, moved out of its folder to `keep_as` (the browser may
    reuse a name it has given before); answers its name and bytes."""
    done = lambda: [p for p in folder.iterdir() if not p.name.endswith(".crdownload")]
    page.wait(f"the download kept as {keep_as.name}", lambda: done())
    got = done()[0]
    name = got.name
    got.replace(keep_as)
    return name, keep_as.read_bytes()


def apply_equals_print(page, downloads, keep_as, printed, when, picture=None):
    """Apply, the success box closed with Enter, and its download compared with orvik print's bytes;
    answers the download's name. `picture` keeps the page with the success box open."""
    page.click(*LAYOUT["apply"])
    page.settle(1)
    if picture:
        page.picture(picture)
    page.keys(Keys.ENTER)  # the success box; the download follows it
    name, saved = downloaded(downloads, keep_as, page)
    if saved != printed:
        raise SystemExit(f"FAIL: {when} the download {name} differs from orvik print")
    return name


def main():
    site, out, port_file, printed_file = (pathlib.Path(a) for a in sys.argv[1:5])
    printed = printed_file.read_bytes()
    tabs = printed.count(b" tab\r\n;;;;")
    out.mkdir(parents=True, exist_ok=True)
    downloads = out / "downloads"
    shutil.rmtree(downloads, ignore_errors=True)
    downloads.mkdir()
    server = serve(site)
    profile = tempfile.mkdtemp(prefix="orvik-chromium-")
    driver = browser(profile)
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": CATCH_FILE_PICKER})
        driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow",
                                                               "downloadPath": str(downloads.resolve())})
        started = time.monotonic()
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/orvik-generator.html")
        wait_for_first_frame(driver)
        first_frame = time.monotonic() - started
        page = Page(driver, out)
        page.wait("the page's title is the caption", lambda: driver.title == TITLE)
        page.settle(1)
        page.picture("web-start.png")
        fresh_tabs = page.tab_column()
        # A file let go over the page stays with the page: the browser does not open it instead.
        if not driver.execute_script("const e = new DragEvent('dragover', {bubbles: true, cancelable: true});"
                                     "document.querySelector('canvas').dispatchEvent(e);"
                                     "return e.defaultPrevented;"):
            raise SystemExit("FAIL: a file dragged over the page would be opened by the browser in its place")
        print(f"web window: title {driver.title!r}, first frame after {first_frame:.2f} s")

        # Load Orvik: the Intro page's button opens the picker. Closed without a choice, it leaves
        # the form as it was and the button works again; then a file is chosen.
        layout = LAYOUT
        page.click(*layout["load"])
        page.wait("the file picker opens", lambda: driver.execute_script(
            "return document.getElementById('orvik-picker') !== null;"))
        driver.execute_script("const picker = document.getElementById('orvik-picker');"
                              "picker.remove(); picker.dispatchEvent(new Event('cancel'));")
        page.settle(1)
        page.click(*layout["load"])
        page.wait("the file picker opens", lambda: driver.execute_script(
            "return document.getElementById('orvik-picker') !== null;"))
        driver.find_element(By.ID, "orvik-picker").send_keys(str(port_file.resolve()))
        page.wait("the chosen file loads", lambda: port_file.name in driver.title)
        page.settle(1)
        print(f"loaded: title {driver.title!r}")

        page.visit_every_tab(tabs)
        print(f"visited {tabs} tabs by keyboard")
        page.picture("web-window.png")

        # Apply: the file comes down as a download, byte for byte what orvik print writes.
        name = apply_equals_print(page, downloads, out / "web-apply.txt", printed, "after the load",
                                  picture="web-saved.png")
        print(f"Apply downloaded {name}, {len(printed)} bytes, equal to orvik print")

        # A choice that takes tabs away, then Ctrl+Z.
        page.focus_connector_type()
        tabs_before = page.tab_column()
        focused = page.picture("web-before-choice.png")
        page.keys(Keys.HOME)  # "<Select>": the connector type is no longer answered
        page.settle(1)
        after = page.picture("web-choice.png")
        if after == focused:
            raise SystemExit("FAIL: taking back Connector_Type changed nothing on screen")
        if page.tab_column() == tabs_before:
            raise SystemExit("FAIL: taking back Connector_Type left the tabs as they were")
        page.chord(Keys.CONTROL, "z")
        page.settle(1)
        page.picture("web-undone.png")
        if page.tab_column() != tabs_before:
            raise SystemExit("FAIL: Ctrl+Z did not bring the tabs back")
        apply_equals_print(page, downloads, out / "web-apply-undone.txt", printed, "after Ctrl+Z")
        print("taking back Connector_Type took tabs away; Ctrl+Z brought them back and the form byte for byte")

        # The same choice taken back and brought back once more leaves answers unsaved, those
        # Apply wrote. Past the recovery copy's second and the page's write to the browser's
        # storage, a reload offers them back, Yes restores them, and Apply writes them again.
        page.focus_connector_type()
        page.keys(Keys.HOME)
        page.chord(Keys.CONTROL, "z")
        page.settle(4)
        driver.refresh()
        wait_for_first_frame(driver)
        page = Page(driver, out)
        page.wait("the reloaded page's title is the caption", lambda: driver.title == TITLE)
        page.settle(2)
        page.picture("web-reloaded.png")
        page.click(*layout["restore"])
        page.settle(1)
        if page.tab_column() == fresh_tabs:
            page.picture("web-failed.png")
            raise SystemExit("FAIL: after the reload the form shows the tabs of a new form (see web-failed.png)")
        # The closed box leaves the keyboard nowhere until the sheet is clicked.
        page.click(*INFO_TEXT_PROBE)
        page.visit_every_tab(tabs)
        apply_equals_print(page, downloads, out / "web-apply-restored.txt", printed, "after the reload, restored,")
        print("after a reload the unsaved answers came back and Apply wrote them byte for byte")

        # The chosen file is still among the recent files, the menu's last (the first, Apply's,
        # is newer). With an answer changed, so that the load changes the form, it loads from
        # there over the form's answers (Yes), and the window names it.
        page.click(*layout["vendor"])
        page.keys(Keys.END, "x")
        page.click(*layout["recent"])
        page.keys(Keys.UP, Keys.ENTER)
        page.settle(1)
        page.click(*layout["overwrite"])
        page.wait("the chosen file loads from the recent files after the reload",
                  lambda: port_file.name in driver.title)
        print(f"after the reload the recent files load the chosen file: title {driver.title!r}")
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


# Where the buttons and the vendor's name sit on the canvas at WIDTH x HEIGHT, read off
# web-start.png; the Yes of the
# restore question and of the load's overwrite question, read off their screenshots.
LAYOUT = {"load": (421, 299), "recent": (517, 299), "apply": (1140, 600), "vendor": (877, 101),
          "restore": (791, 343), "overwrite": (795, 337)}
# Below the sheet's tab column; inside an explanation window's text.
INFO_TEXT_PROBE = (120, 560)
# The sheet's tab column: left, top, right, bottom.
TAB_COLUMN = (10, 10, 236, 480)

if __name__ == "__main__":
    main()
