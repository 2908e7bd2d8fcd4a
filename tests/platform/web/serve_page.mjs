// A static server of the page's folder on 127.0.0.1 and a free port, for the
// page tests and the figures: every file as it is, a missing one as 404.
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';

const kTypes = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                 '.jpg': 'image/jpeg', '.gif': 'image/gif', '.bin': 'application/octet-stream',
                 '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// Resolves to the listening server; its address().port is the port.
export function servePage(root) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(root, path.endsWith('/') ? path + 'index.html' : path);
    try {
      const body = readFileSync(file);
      response.writeHead(200, { 'Content-Type': kTypes[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}
