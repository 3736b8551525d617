#!/usr/bin/env python3
"""The browser build in headless Chromium: the page starts, draws the sheet and names itself.

Usage: tests/e2e/web_window_test.py SITE_FOLDER OUT_FOLDER
Serves SITE_FOLDER on a free port of 127.0.0.1, opens orvik-generator.html with Debian's
chromium-driver, and keeps a screenshot in OUT_FOLDER/web-window.png. Prints the time from the
page's start to the first frame of the window.
"""
import functools
import http.server
import pathlib
import shutil
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

TITLE = "Orvik Generator 1.2.2.2"


def serve(site):
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=str(site))
    handler.log_message = lambda *args: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def browser(profile, downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--window-size=1100,800", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"download.default_directory": str(downloads),
                                              "download.prompt_for_download": False})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def main():
    site, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    server = serve(site)
    profile = tempfile.mkdtemp(prefix="orvik-chromium-")
    driver = browser(profile, out / "downloads")
    try:
        started = time.monotonic()
        driver.get(f"http://127.0.0.1:{server.server_address[1]}/orvik-generator.html")
        # Qt hides its loading screen and shows the canvas once the window has drawn.
        WebDriverWait(driver, 60, 0.05).until(lambda d: d.execute_script(
            "const c = document.querySelector('canvas');"
            "return c !== null && c.style.display !== 'none' && c.width > 0;"))
        first_frame = time.monotonic() - started
        WebDriverWait(driver, 30).until(lambda d: d.title == TITLE)
        time.sleep(1)
        driver.save_screenshot(str(out / "web-window.png"))
        print(f"web window: title {driver.title!r}, first frame after {first_frame:.2f} s")
    finally:
        driver.quit()
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
