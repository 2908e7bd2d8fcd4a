// CPU time of a process tree, read from /proc, for the benchmarks that
// measure a browser with all its processes.
import { readFileSync, readdirSync } from 'node:fs';

// Clock ticks a second in /proc's figures (USER_HZ on Linux).
export const kTicksPerSecond = 100;

// CPU time (user + system, in clock ticks) of a process and all its descendants.
export function treeTicks(rootPid) {
  const children = new Map();
  const ticks = new Map();
  for (const pid of readdirSync('/proc').filter((n) => /^[0-9]+$/.test(n))) {
    try {
      const stat = readFileSync('/proc/' + pid + '/stat', 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      const parent = Number(fields[1]);
      ticks.set(Number(pid), Number(fields[11]) + Number(fields[12]));
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(pid));
    } catch { /* the process has gone */ }
  }
  let total = 0;
  const stack = [rootPid];
  while (stack.length) {
    const pid = stack.pop();
    total += ticks.get(pid) || 0;
    stack.push(...(children.get(pid) || []));
  }
  return total;
}
