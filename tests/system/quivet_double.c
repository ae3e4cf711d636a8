// Stands in for the board's driver: logs what the kernel hands it, accepts all.
#include <linux/fs.h>
#include <linux/miscdevice.h>
#include <linux/module.h>

static int double_open(struct inode* inode, struct file* file) {
  pr_info("quivet: open %#o\n", file->f_flags);
  return 0;
}

static int double_release(struct inode* inode, struct file* file) {
  pr_info("quivet: release\n");
  return 0;
}

// Printed signed: -2 sign-extended by the caller shows as -2, zero-extended as 4294967294.
static long double_ioctl(struct file* file, unsigned int cmd, unsigned long arg) {
  pr_info("quivet: ioctl %u %ld\n", cmd, (long)arg);
  return 0;
}

static const struct file_operations double_fops = {
    .owner = THIS_MODULE,
    .open = double_open,
    .release = double_release,
    .unlocked_ioctl = double_ioctl,
};

static struct miscdevice double_device = {
    .minor = MISC_DYNAMIC_MINOR,
    .name = "quivet",
    .fops = &double_fops,
};

module_misc_device(double_device);
MODULE_LICENSE("GPL");
