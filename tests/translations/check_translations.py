#!/usr/bin/env python3
"""Fails unless every translation is complete and current with the code.

Usage: check_translations.py LUPDATE SOURCE_DIR DESKTOP_ENTRY METAINFO

lupdate runs over the code into copies of the .ts files: a text added to the code comes
out unfinished, one gone from it vanished or obsolete. Every translation must also keep
the English text's placeholders, line breaks and mnemonic, and name no file type list
separator; the desktop entry and the AppStream metadata must speak every language.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

LANGUAGES = ['de', 'fr', 'es', 'it', 'pt_BR', 'ru', 'zh_CN', 'ja']
CODE_DIRS = ['app', 'commands', 'dialogs', 'gallery', 'pictures', 'platform', 'viewers']
XML_LANG = '{http://www.w3.org/XML/1998/namespace}lang'

problems = []


def mnemonics(text):
    return len(re.findall(r'&(?!&)', text.replace('&&', '')))


def check_message(language, context, source, translation):
    where = f'{language} {context} "{source}"'
    kind = translation.get('type')
    if kind in ('unfinished', 'vanished', 'obsolete'):
        problems.append(f'{where}: {kind}')
        return
    text = translation.text or ''
    if not text.strip():
        problems.append(f'{where}: empty')
        return
    if sorted(re.findall(r'%\d+', source)) != sorted(re.findall(r'%\d+', text)):
        problems.append(f'{where}: placeholders differ in "{text}"')
    if source.count('\n') != text.count('\n'):
        problems.append(f'{where}: line breaks differ in "{text}"')
    if mnemonics(source) != mnemonics(text):
        problems.append(f'{where}: mnemonics differ in "{text}"')
    # Tests and desktops find the main window by its caption's start.
    if source.startswith('Pictavo - ') and not text.startswith('Pictavo - '):
        problems.append(f'{where}: the caption must start with "Pictavo - ": "{text}"')
    if '|' in text and '|' not in source:
        problems.append(f'{where}: "|" would split a file type list in "{text}"')


def check_ts(path, language):
    root = ET.parse(path).getroot()
    if root.get('language') != language:
        problems.append(f'{path}: language {root.get("language")}, expected {language}')
    count = 0
    for context in root.iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            count += 1
            check_message(language, name, message.findtext('source'), message.find('translation'))
    if count == 0:
        problems.append(f'{path}: no messages')


def check_desktop(path):
    keys = set()
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = re.match(r'([A-Za-z]+)(\[[^]]+\])?=', line)
            if m:
                keys.add(m.group(1) + (m.group(2) or ''))
    for key in ('Name', 'GenericName', 'Comment'):
        for language in LANGUAGES:
            if f'{key}[{language}]' not in keys:
                problems.append(f'{os.path.basename(path)}: no {key}[{language}]')


def check_metainfo(path):
    root = ET.parse(path).getroot()
    for parent in root.iter():
        english = [c for c in parent if c.tag in ('name', 'summary', 'p', 'li', 'caption')
                   and XML_LANG not in c.attrib]
        for language in LANGUAGES:
            translated = [c for c in parent if c.get(XML_LANG) == language]
            if english and len(translated) != len(english):
                problems.append(f'{os.path.basename(path)}: <{parent.tag}> has '
                                f'{len(translated)} of {len(english)} texts in {language}')


def main():
    lupdate, source_dir, desktop, metainfo = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as tmp:
        copies = []
        for language in LANGUAGES:
            original = os.path.join(source_dir, 'translations', f'pictavo_{language}.ts')
            if not os.path.exists(original):
                problems.append(f'{original} is missing')
                continue
            copy = os.path.join(tmp, os.path.basename(original))
            shutil.copy(original, copy)
            copies.append((copy, language))
        dirs = [os.path.join(source_dir, d) for d in CODE_DIRS]
        run = subprocess.run([lupdate, '-silent', '-locations', 'none', *dirs,
                              '-ts', *[c for c, _ in copies]], capture_output=True, text=True)
        if run.returncode != 0:
            problems.append(f'lupdate failed: {run.stderr}')
        for copy, language in copies:
            check_ts(copy, language)
    check_desktop(desktop)
    check_metainfo(metainfo)
    for problem in problems:
        print('FAIL:', problem)
    if not problems:
        print(f'translations: {len(LANGUAGES)} languages complete')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
