// Opens each page in headless Chromium at a phone's and a desktop's size, prints how wide the
// content is against the screen and the smallest text on it, and saves a full-page screenshot.
//   node html5_render.cjs FOLDER URL...
const puppeteer = require('puppeteer-core');

async function measure(page) {
  return page.evaluate(() => {
    let smallest = Infinity;
    let where = '';
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const text = node.textContent.trim();
      if (!text) continue;
      const style = getComputedStyle(node.parentElement);
      if (style.display === 'none' || style.visibility === 'hidden') continue;
      const size = parseFloat(style.fontSize);
      if (size < smallest) [smallest, where] = [size, `${node.parentElement.tagName} "${text.slice(0, 24)}"`];
    }
    return {wide: document.documentElement.scrollWidth, screen: window.innerWidth, smallest, where};
  });
}

(async () => {
  const [folder, ...urls] = process.argv.slice(2);
  const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox']});
  for (const [width, height] of [[360, 740], [1280, 900]]) {
    const page = await browser.newPage();
    await page.setViewport({width, height});
    for (const url of urls) {
      await page.goto(url, {waitUntil: 'load'});
      const m = await measure(page);
      const name = url.split('/').pop();
      await page.screenshot({path: `${folder}/${width}-${name}.png`, fullPage: true});
      console.log(`  ${width}x${height} ${name.padEnd(24)} content ${m.wide}px on ${m.screen}px` +
                  `${m.wide > m.screen ? ' (SCROLLS SIDEWAYS)' : ''}, smallest text ${m.smallest}px (${m.where})`);
    }
    await page.close();
  }
  await browser.close();
})().catch((error) => { console.error(error); process.exit(1); });
