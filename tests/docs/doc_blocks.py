#!/usr/bin/env python3
"""Runs the commands of a documentation page and checks its links.

    doc_blocks.py --source SRC --build BUILD --work DIR [--update] PAGE

Every fenced block of the page (``` or ~~~) carries a marker, an HTML comment
on the line just above it, which says what the suite does with it (see
docs/writing-docs.md):

    <!-- doc-test: run [status=N] [compare=FILE:REFERENCE]... [dry-run=ARGUMENT]
                       [packages-cover=BUILD_DIR [packages-skip=TARGET,...]] -->
    <!-- doc-test: console [status=N] -->
    <!-- doc-test: file PATH -->
    <!-- doc-test: covered-by NAME -->
    <!-- doc-test: manual REASON -->
    <!-- doc-test: illustration -->

The page's blocks run in order, in a fresh folder WORK that holds a link to
each entry at the top of the source tree (so `docs/gallery/noise.json` and
`scripts/stitch-ppm` are where a page says) and `build`, a link to BUILD.
Two substitutions are made in every block before it is used: the install
prefix the pages name, /opt/texture, becomes the prefix the consumer_package
test installs into, and `apt-get install` simulates. Every relative link
and image of the page must lead to a file, and a link's #anchor to a
heading of its page.

--update rewrites the expected output of the page's console blocks with
what the commands print, and exits 0.
"""
import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys

SHELL_LANGUAGES = {'sh', 'bash', 'shell', 'console'}
MARKER = re.compile(r'^<!--\s*doc-test:\s*(.*?)\s*-->\s*$')
FENCE = re.compile(r'^(```+|~~~+)\s*([\w+-]*)\s*$')


class Block:
    def __init__(self, line, language, marker, body_start, body):
        self.line = line              # the fence's line number, from 1
        self.language = language
        self.marker = marker          # the marker's words, or None
        self.body_start = body_start  # index of the first body line
        self.body = body              # the lines between the fences


def blocks_of(lines):
    blocks = []
    i = 0
    while i < len(lines):
        fence = FENCE.match(lines[i])
        if not fence:
            i += 1
            continue
        end = i + 1
        while end < len(lines) and not lines[end].startswith(fence.group(1)):
            end += 1
        marker = None
        above = i - 1
        while above >= 0 and not lines[above].strip():
            above -= 1
        if above >= 0:
            found = MARKER.match(lines[above])
            if found:
                marker = shlex.split(found.group(1))
        blocks.append(Block(i + 1, fence.group(2).lower(), marker, i + 1, lines[i + 1:end]))
        i = end + 1
    return blocks


def anchors_of(path):
    """The anchors of a page's headings, as the rendered page names them."""
    with open(path, encoding='utf-8') as f:
        lines = f.read().split('\n')
    fenced, anchors = False, set()
    for line in lines:
        if FENCE.match(line):
            fenced = not fenced
        elif not fenced and re.match(r'^#{1,6} ', line):
            heading = line.lstrip('#').strip().lower()
            anchors.add(re.sub(r'[^\w\- ]', '', heading).replace(' ', '-'))
    return anchors


def programs_in(lines):
    """The programs that shell lines call: the first word of each command,
    past variable settings, in pipes, lists and $(...)."""
    names = []
    text = '\n'.join(line[2:] if line.startswith('$ ') else line for line in lines)
    for command in re.split(r'\$\(|\||&&|;|\n', text.replace('\\\n', ' ')):
        words = [w for w in command.split() if not re.match(r'^[A-Za-z_][A-Za-z0-9_]*=', w)]
        if words and words[0] not in ('export', 'do', 'done', 'then', 'fi', 'for', 'if'):
            names.append(words[0])
    return names


def options_of(words):
    """key=value words as a dict of lists; the other words in order."""
    options, plain = {}, []
    for word in words:
        key, equals, value = word.partition('=')
        if equals and re.fullmatch(r'[a-z-]+', key):
            options.setdefault(key, []).append(value)
        else:
            plain.append(word)
    return options, plain


class Page:
    def __init__(self, args, path):
        self.args = args
        self.path = path
        self.name = os.path.relpath(path, args.source)
        with open(path, encoding='utf-8') as f:
            self.lines = f.read().split('\n')
        self.failures = []
        self.manual = []
        self.updates = {}             # body_start -> new body lines
        self.substitutions = [
            ('/opt/texture', os.path.join(args.build, 'tests', 'consumer-package', 'prefix')),
            ('apt-get install', 'apt-get install --simulate'),
        ]

    def fail(self, block, text):
        self.failures.append(f'{self.name}:{block.line}: {text}')

    def substitute(self, text):
        for old, new in self.substitutions:
            text = text.replace(old, new)
        return text

    # The scratch folder: links to the source tree's top entries and to the build.
    def prepare(self):
        work = self.args.work
        subprocess.run(['rm', '-rf', work], check=True)
        os.makedirs(work)
        for entry in os.listdir(self.args.source):
            if entry == '.git' or entry.startswith('build'):
                continue
            os.symlink(os.path.join(self.args.source, entry), os.path.join(work, entry))
        os.symlink(self.args.build, os.path.join(work, 'build'))

    def shell(self, script):
        return subprocess.run(['bash', '-e', '-o', 'pipefail', '-c', script], cwd=self.args.work,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                              errors='replace')

    def run(self, block, options):
        text = self.substitute('\n'.join(block.body))
        if 'dry-run' in options:
            # Each command (a line not continued with \) gets the argument:
            # the program is run and reads its options, without the long work.
            suffix = ' ' + options['dry-run'][0]
            text = '\n'.join(line if line.endswith('\\') or not line.strip() else line + suffix
                             for line in text.split('\n'))
        want = int(options.get('status', ['0'])[0])
        done = self.shell(text)
        if done.returncode != want:
            self.fail(block, f'exit status {done.returncode}, not {want}:\n{text}\n--- output:\n{done.stdout}')
            return
        if 'packages-cover' in options:
            self.check_packages(block, text, options)
        for pair in options.get('compare', []):
            made, _, reference = pair.partition(':')
            made_path = os.path.join(self.args.work, made)
            reference_path = os.path.join(self.args.source, reference)
            if not os.path.isfile(made_path):
                self.fail(block, f'{made} was not made')
            elif open(made_path, 'rb').read() != open(reference_path, 'rb').read():
                self.fail(block, f'{made} differs from {reference}')

    def check_packages(self, block, text, options):
        """The packages the block's apt-get line installs, with what they
        depend on, hold every file of the system that a build used (the
        compiler's record of the headers it read, the libraries it linked,
        the compiler and make) and every program the page's commands call."""
        listed = []
        for command in re.findall(r'apt-get install([^\n]*)', text.replace('\\\n', ' ')):
            listed += [word for word in command.split() if not word.startswith('-')]
        if not listed:
            self.fail(block, 'packages-cover: the block has no apt-get install line')
            return
        tree = os.path.join(self.args.build, options['packages-cover'][0])
        skipped = {f'{t}.dir' for value in options.get('packages-skip', []) for t in value.split(',')}
        used = set()
        for folder, subfolders, files in os.walk(tree):
            subfolders[:] = [d for d in subfolders if d not in skipped]
            for name in files:
                path = os.path.join(folder, name)
                if name.endswith('.o.d'):
                    words = open(path, errors='replace').read().replace('\\\n', ' ').split()
                    used.update(w for w in words if w.startswith('/usr/'))
                elif name == 'link.txt':
                    used.update(w for w in open(path).read().split() if w.startswith('/usr/'))
        cache = open(os.path.join(tree, 'CMakeCache.txt')).read()
        for entry in ('CMAKE_CXX_COMPILER', 'CMAKE_MAKE_PROGRAM'):
            found = re.search(r'^' + entry + r':\w+=(.*)$', cache, re.M)
            if found:
                used.add(found.group(1))
        for page_block in blocks_of(self.lines):
            if page_block.marker and page_block.marker[0] in ('run', 'console'):
                for name in programs_in(page_block.body):
                    program = shutil.which(name)
                    if program and program.startswith('/usr/'):
                        used.add(program)
        owners = self.owners(sorted(os.path.realpath(p) for p in used if os.path.exists(p)))
        allowed = set(listed) | self.dependencies(listed) | self.essential()
        missing = {}
        for path, packages in sorted(owners.items()):
            if not packages & allowed:
                missing.setdefault(', '.join(sorted(packages)), []).append(path)
        for packages, paths in missing.items():
            self.fail(block, f'the list does not install {packages}, whose {paths[0]} (and {len(paths) - 1} '
                      f'more) the build in {options["packages-cover"][0]} or the page\'s commands use')

    @staticmethod
    def owners(paths):
        """Each path that a Debian package holds, with the packages that hold it."""
        done = subprocess.run(['dpkg', '-S'] + paths, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        owners = {}
        for line in done.stdout.splitlines():
            packages, _, path = line.partition(': ')
            owners.setdefault(path, set()).update(p.split(':')[0].strip() for p in packages.split(','))
        return owners

    @staticmethod
    def dependencies(packages):
        done = subprocess.run(['apt-cache', 'depends', '--recurse', '--no-recommends', '--no-suggests',
                               '--no-conflicts', '--no-breaks', '--no-replaces', '--no-enhances'] + packages,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        names = set()
        for line in done.stdout.splitlines():
            name = line.split(':')[-1].strip().strip('<>').split(':')[0]
            if name:
                names.add(name)
        return names

    @staticmethod
    def essential():
        done = subprocess.run(['dpkg-query', '-W', '-f', '${Package} ${Essential} ${Priority}\n'],
                              stdout=subprocess.PIPE, text=True)
        return {line.split()[0] for line in done.stdout.splitlines()
                if ' yes ' in line or line.endswith(' required')}

    def console(self, block, options):
        """$ lines are commands; the lines after each, up to the next, its output."""
        want = int(options.get('status', ['0'])[0])
        commands = []
        for line in block.body:
            if line.startswith('$ '):
                commands.append([line[2:], []])
            elif commands:
                commands[-1][1].append(line)
            else:
                self.fail(block, 'a console block starts with "$ COMMAND"')
                return
        new_body = []
        for command, expected in commands:
            done = self.shell(self.substitute(command))
            output = [line.rstrip() for line in done.stdout.rstrip('\n').split('\n')] if done.stdout else []
            new_body += ['$ ' + command] + output
            if done.returncode != want:
                self.fail(block, f'{command}: exit status {done.returncode}, not {want}\n{done.stdout}')
            elif not self.args.update and output != [line.rstrip() for line in expected]:
                self.fail(block, f'{command}: the output differs from the page\'s:\n--- page:\n'
                          + '\n'.join(expected) + '\n--- now:\n' + '\n'.join(output)
                          + f'\n(tests/docs/doc_blocks.py --update rewrites it)')
        self.updates[block.body_start] = (len(block.body), new_body)

    def write_file(self, block, plain):
        if len(plain) != 1:
            self.fail(block, 'file takes one path')
            return
        path = plain[0]
        parts = path.split('/')
        first = os.path.join(self.args.work, parts[0])
        if os.path.isabs(path) or '..' in parts or os.path.islink(first):
            self.fail(block, f'file {path}: must lie inside the scratch folder, not in the source tree')
            return
        target = os.path.join(self.args.work, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, 'w', encoding='utf-8') as f:
            f.write(self.substitute('\n'.join(block.body)) + '\n')

    def covered_by(self, block, plain):
        if len(plain) != 1:
            self.fail(block, 'covered-by takes one test or script')
            return
        name = plain[0]
        if os.path.exists(os.path.join(self.args.source, name)):
            return
        # The tests the build declares (add_test), read from its test files:
        # running ctest from inside a test would rewrite the outer run's log.
        declared = re.compile(r'^add_test\((?:\[=*\[)?' + re.escape(name) + r'(?:\]=*\])? ', re.M)
        for folder, _, files in os.walk(self.args.build):
            if 'CTestTestfile.cmake' in files:
                with open(os.path.join(folder, 'CTestTestfile.cmake'), errors='replace') as f:
                    if declared.search(f.read()):
                        return
        self.fail(block, f'covered-by {name}: no such test in {self.args.build}, nor such file')

    def check_block(self, block):
        if block.marker is None or not block.marker:
            self.fail(block, f'a ```{block.language} block without a <!-- doc-test: ... --> marker above it')
            return
        kind, words = block.marker[0], block.marker[1:]
        options, plain = options_of(words)
        shell = block.language in SHELL_LANGUAGES or block.language == ''
        if kind == 'run':
            self.run(block, options)
        elif kind == 'console':
            self.console(block, options)
        elif kind == 'file':
            self.write_file(block, plain)
        elif kind == 'covered-by':
            self.covered_by(block, plain)
        elif kind == 'manual':
            if not words:
                self.fail(block, 'manual needs a reason')
            self.manual.append(f'{self.name}:{block.line}: {" ".join(words)}')
        elif kind == 'illustration':
            if shell:
                self.fail(block, 'a shell block holds commands: run, console, covered-by or manual, '
                          'not illustration (a sample of output is ```text)')
        else:
            self.fail(block, f'unknown doc-test marker "{kind}"')

    def check_links(self):
        for number, line in enumerate(self.lines, 1):
            targets = re.findall(r'\]\(([^)\s]+)(?:\s+"[^"]*")?\)', line)
            targets += re.findall(r'<img[^>]*\ssrc="([^"]+)"', line)
            targets += re.findall(r'<a[^>]*\shref="([^"]+)"', line)
            for target in targets:
                self.check_link(number, target)

    def check_link(self, number, target):
        if re.match(r'^[a-z]+:', target):
            return
        file, _, anchor = target.partition('#')
        path = os.path.normpath(os.path.join(os.path.dirname(self.path), file)) if file else self.path
        if not os.path.exists(path):
            self.failures.append(f'{self.name}:{number}: the link {target} leads nowhere')
        elif anchor and path.endswith('.md') and anchor not in anchors_of(path):
            self.failures.append(f'{self.name}:{number}: the link {target}: '
                                 f'{os.path.basename(path)} has no heading "{anchor}"')

    def check(self):
        self.prepare()
        for block in blocks_of(self.lines):
            self.check_block(block)
        self.check_links()

    def rewrite(self):
        lines = self.lines
        for start in sorted(self.updates, reverse=True):
            length, body = self.updates[start]
            lines = lines[:start] + body + lines[start + length:]
        with open(self.path, 'w', encoding='utf-8') as f:
            f.write('\n'.join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--source', required=True)
    parser.add_argument('--build', required=True)
    parser.add_argument('--work', required=True)
    parser.add_argument('--update', action='store_true')
    parser.add_argument('page')
    args = parser.parse_args()
    for name in ('source', 'build', 'work'):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    page = Page(args, os.path.abspath(args.page))
    page.check()
    for line in page.manual:
        print(f'not run by the suite: {line}')
    if args.update:
        page.rewrite()
        print(f'updated the console blocks of {page.name}')
        return 0
    for failure in page.failures:
        print(f'FAIL: {failure}')
    if page.failures:
        return 1
    print(f'{page.name}: every block and link holds')
    return 0


sys.exit(main())
