// Registers an account through the web form in headless Chromium, then
// takes screenshots of the form and of the news page.
// Usage: node register.cjs PLAYWRIGHT_CORE_DIR BASE_URL SCREENSHOT_DIR LOGIN PASSWORD
const [playwrightDir, base, shots, login, password] = process.argv.slice(2);
const { chromium } = require(playwrightDir);

(async () => {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = await browser.newPage({ viewport: { width: 1000, height: 720 } });
    // The client opens the registration page through its soft link.
    await page.goto(base + '/web/_client/softlinks.asp?folder=register');
    await page.fill('#login', login);
    await page.fill('#password', password);
    await page.fill('#town', 'lyon');
    await page.fill('#country', 'fr');
    await page.screenshot({ path: shots + '/register-form.png' });
    await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
    const text = await page.textContent('#registered');
    if (!text.includes(login) || !text.includes('Lyon')) throw new Error('unexpected page: ' + text);
    await page.goto(base + '/web/news.asp');
    await page.screenshot({ path: shots + '/news.png', fullPage: true });
    const news = await page.textContent('#genealogists');
    if (!news.includes(login)) throw new Error('the news page does not show ' + login);
    console.log('registered ' + login);
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
