'''A stand-in for the UDisks2 service with one memory card partition.

Parameters (JSON): device (its node), mount_root (where Mount puts it; the folder is named after
the label, as the real service does), version, resolve (false: a service without ResolveDevice),
fail (the method that answers with an error: "Unmount" or "Format").
The calls made are returned, in order, by the manager's TestCalls().
'''

import dbus
from dbusmock import mockobject

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2/Manager'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
SYSTEM_BUS = False

BLOCK_PATH = '/org/freedesktop/UDisks2/block_devices/sdx1'
BLOCK_IFACE = 'org.freedesktop.UDisks2.Block'
FS_IFACE = 'org.freedesktop.UDisks2.Filesystem'

CALLS = []
STATE = {'label': 'OLDCARD'}


def _text(value):
    if isinstance(value, (list, dbus.Array)):
        return ','.join(_text(v) for v in value)
    return str(value)


def _record(name, *values):
    words = [name]
    for value in values:
        if isinstance(value, (dict, dbus.Dictionary)):
            words += ['%s=%s' % (k, _text(value[k])) for k in sorted(value)]
        else:
            words.append(_text(value))
    CALLS.append(' '.join(words))


def load(mock, parameters):
    device = parameters.get('device', '/dev/sdx1')
    mount_root = parameters.get('mount_root', '/media/fixture-user')
    fail = parameters.get('fail', '')

    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({'Version': parameters.get('version', '2.9.4')},
                                                   signature='sv'))

    def resolve_device(self, device_query, options):
        _record('ResolveDevice', device_query)
        return dbus.Array([dbus.ObjectPath(BLOCK_PATH)] if device_query.get('path') == device else [],
                          signature='o')

    def test_calls(self):
        return dbus.Array(CALLS, signature='s')

    if parameters.get('resolve', True):
        mock.AddMethod(MAIN_IFACE, 'ResolveDevice', 'a{sv}a{sv}', 'ao', resolve_device)
    mock.AddMethod(MAIN_IFACE, 'TestCalls', '', 'as', test_calls)

    def unmount(self, options):
        _record('Unmount', options)
        if fail == 'Unmount':
            raise dbus.exceptions.DBusException('Error unmounting: target is busy',
                                                name='org.freedesktop.UDisks2.Error.DeviceBusy')

    def format_block(self, fs_type, options):
        _record('Format', fs_type, options)
        if fail == 'Format':
            raise dbus.exceptions.DBusException('Error creating filesystem',
                                                name='org.freedesktop.UDisks2.Error.Failed')
        STATE['label'] = str(options.get('label', ''))

    def mount(self, options):
        _record('Mount', options)
        return mount_root + '/' + STATE['label']

    mock.AddObject(BLOCK_PATH, BLOCK_IFACE, {'Device': dbus.ByteArray(device.encode() + b'\0')}, [])
    block = mockobject.objects[BLOCK_PATH]
    block.AddMethod(BLOCK_IFACE, 'Format', 'sa{sv}', '', format_block)
    block.AddMethod(FS_IFACE, 'Unmount', 'a{sv}', '', unmount)
    block.AddMethod(FS_IFACE, 'Mount', 'a{sv}', 's', mount)
